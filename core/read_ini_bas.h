#pragma once
// The settings files and their lookup rule: the open library's own settings file (section
// "Normal") first, then the program's Settings.ini (section "Global"), then the caller's default.
// A missing key reads as the text "Error"; a flag is "X" for on. Nothing is cached: every read
// goes to the files, so writes made elsewhere are seen at once.

#include <QSize>
#include <QString>

#include <cstdint>
#include <optional>

// The open library's settings file: its folder and file name with ".ini" in place of the last
// four characters. Empty while no library is open (file name shorter than four characters), which
// reads as a file without keys and cannot be written.
QString LibrarySettingsFile();

// Settings.ini in the program folder: the installation-wide values.
QString ProgramSettingsFile();

// CORVELSETUP.ini in the user's profile folder: the installer's hand-over file.
QString InstallerSettingsFile();

// True for "Error", the default every read passes: the key, or its file, is missing.
bool IsMissingSetting(const QString& value);

// One key of one file, no lookup chain: the library settings file's `section` ("Normal", or the
// computer's window-position section), or Settings.ini's "Global". "Error" when it is missing.
QString ReadLibraryValue(const QString& section, const QString& key);
QString ReadProgramValue(const QString& key);

// Decimal text to a whole number, a fraction rounded to the nearest and a half to even (432.5
// gives 432, 433.5 gives 434). Nothing for a text that is not a number or does not fit the type.
std::optional<std::int16_t> ToInt16Setting(const QString& text);
std::optional<std::int32_t> ToInt32Setting(const QString& text);

// True only when the value found is exactly "X"; false when neither file has the key.
bool ReadFlagSetting(const QString& key);

// The value found, or the default when neither file has the key.
QString ReadSetting(const QString& key, const QString& defaultValue);
// The same with a numeric default, which is returned as its decimal text ("1" for 1).
QString ReadSetting(const QString& key, int defaultValue);
QString ReadSetting(const QString& key, char defaultValue) = delete;  // would read as a number

// For the one-character markers, which may not stay empty: a value that is neither empty nor
// missing is the result; otherwise the default with blanks removed, which is then also written
// into section "Normal" of the library settings file (staged in g_IniValue, result not kept).
// An empty value in Settings.ini does not count as found.
QString ReadSymbolSetting(const QString& key, const QString& defaultValue);

// The value found as a whole number (a fraction rounded to the nearest, a half to even: 432.5
// gives 432, 433.5 gives 434). The current value comes back unchanged when neither file has the
// key, or when the value found is empty, not a number or out of the 32-bit range.
std::int32_t ReadNumberSetting(const QString& key, std::int32_t currentValue);

// The primary screen's size in pixels (1024 x 768 when there is none): the bar's default place
// is computed from it.
QSize ScreenPixels();

// Writes the default of every installation-wide setting into Settings.ini, section "Global",
// keeping each write's result in g_IniResult. The bar's default place is computed from the
// primary screen (1024 x 768 when there is none). Changes no setting value in memory.
void WriteDefaultSettings();
