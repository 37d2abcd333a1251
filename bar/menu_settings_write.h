#pragma once
// The tray menu's settings writes: every item stores its value at once in the open library's
// settings file. A write that fails (a read-only folder, a full disk) is told to the learner once
// per run, in the interface language and naming the file; the change stays in effect in memory
// and on the menu, and the file keeps its old value for the next start.

#include <QString>

// The learner was told that a settings write failed; later failures stay silent, as each would
// fail again for the same reason.
inline bool g_SettingsWriteFailureTold = false;

// Stages `value` in g_IniValue and writes it under `key` in section "Normal" of the library
// settings file, keeping the result in g_IniResult; a failure is reported.
void WriteMenuSetting(const QString& key, const QString& value);

// The same into this computer's window-position section (g_ComputerSection).
void WriteBarPlaceSetting(const QString& key, const QString& value);

// Reports the last write as failed when g_IniResult is 0 (for writes a core procedure made).
void ReportIfSettingsWriteFailed();
