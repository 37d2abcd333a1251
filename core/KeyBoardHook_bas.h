#pragma once
// The global hot keys. Escape or Pause kills the word on the bar, F9 steps the learn mode, F10
// switches between the whole library and segments, F11 and F12 go to the previous and the next
// segment, from whatever program has the focus.
//
// The system-wide keyboard hook only records which key came and enables the bar's 10 ms timer
// Tim_KeyHook; the timer's tick (DispatchHotKey) runs the hot-key procedure on the interface
// thread, so no work ever runs inside the hook. Each procedure shows a banner on the bar and
// re-installs the hook at once; its real work (the kill, the rebuild, the segment change) runs at
// most once a second.

#include "platform/keyhook/key_codes.h"

#include <QString>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

// ---- Module state -------------------------------------------------------------------------------
inline std::uint32_t g_hKeyHook = 0;  // handle of the installed hook (0 when the last install failed)
inline bool g_KeyHooked = false;      // InstallKeyboardHook ran and RemoveKeyboardHook has not run since
inline QString g_LastHotKey;          // name of the last hot key the hook saw ("vbKeyEscape", "vbKeyF9" ...)
// When the last timed hot-key action ended, on the steady clock; none yet at the start of the run.
inline std::optional<std::chrono::steady_clock::time_point> g_LastKillTime;
// The learner was told that the hot keys do not work. Told once per run: every hot key renews the
// hook, and each renewal would fail again for the same reason.
inline bool g_HookFailureTold = false;

// ---- The hook -----------------------------------------------------------------------------------

// Installs the system-wide hook with LowLevelKeyboardProc as its procedure. A second install
// without RemoveKeyboardHook in between only shows a message and keeps the first hook. When the
// display offers no hook (no X server, no XInput2), the learner is told once per run that the hot
// keys do not work; g_KeyHooked is set all the same, so install and remove stay paired.
void InstallKeyboardHook();

// Removes the hook; g_KeyHooked := false.
void RemoveKeyboardHook();

// RemoveKeyboardHook, then InstallKeyboardHook: every hot-key procedure renews the hook.
void ReinstallKeyboardHook();

// The hook procedure: only a plain key release (flags exactly 0x80) or a press while Alt is held
// (flags exactly 0x20) of Escape, Pause or F9 to F12 counts. It records the key's name in
// g_LastHotKey and enables the bar's Tim_KeyHook. Returns -1 for Alt+F9 to Alt+F12 (the key goes
// no further), else the next hook's result (0).
long LowLevelKeyboardProc(int nCode, platform::KeyMessage wParam, const platform::KbdLlHookStruct& record);

// The tick of Tim_KeyHook: runs the procedure of the recorded key name; any other name does
// nothing.
void DispatchHotKey(const QString& hotKeyName);

// Hands the keys pressed while the interface thread was held to the hook procedure at once, so
// that a hot key pressed meanwhile has its dispatch tick waiting (Tim_KeyHook enabled) when this
// returns. Nothing happens while no hook is installed.
void DeliverPendingHotKeys();

// ---- The hot-key procedures (also the tray menu's whole-library, group-step and mode items) -----

// Escape, Pause: kill the word on the bar. A press refused by the once-a-second rule, or one that
// finds no word on the bar (a banner, a status text), changes neither the position nor the wait.
void OnHotKeyKill();
void OnHotKeyLearnMode();     // F9: learn mode 0 -> 1 -> 2 -> 0
void OnHotKeySegmentMode();   // F10: whole library <-> segments
void OnHotKeyPrevSegment();   // F11: previous segment (nothing at the first)
void OnHotKeyNextSegment();   // F12: next segment (nothing at the last)

// The F9 steps for a given new learn mode (0, 1 or 2): stores it, sets the menu's checks and
// caption, shows the banner, renews the hook and, under the once-a-second rule, rebuilds the
// cycle. The tray menu's learn-mode items call it with the mode they name. Any other value only
// shows an empty banner, renews the hook and rebuilds.
void SwitchLearnMode(int newMode);

// The banner a hot key shows: `mark`, then ten times `text` followed by `mark`.
QString HotKeyBanner(const QString& mark, const QString& text);

// ---- What the hot keys take from the system (tests replace it) ----------------------------------

class HotKeySystem {
 public:
  virtual ~HotKeySystem() = default;
  // A steady clock: the once-a-second rule measures elapsed time, never the time of day.
  virtual std::chrono::steady_clock::time_point now() = 0;
  // Holds the interface thread (the pause after a kill or a segment key).
  virtual void pause(std::chrono::milliseconds duration) = 0;
  // Bit 0x8000 set while the key is held, as the installed hook last saw it.
  virtual std::int16_t keyState(std::uint32_t vkCode) = 0;
  // Starts playing a WAV file and returns at once.
  virtual void playSound(const QString& wavPath) = 0;
};

// Replaces the system services of the hot keys; nullptr restores the real ones.
void SetHotKeySystem(std::unique_ptr<HotKeySystem> system);

// Whether a failed hook install is reported in a message box (on by default; the unit tests,
// which run without an X server, turn it off except where they check the message). Turning it on
// also lets the next failure be reported again.
void SetKeyboardHookFailureReporting(bool enabled);
