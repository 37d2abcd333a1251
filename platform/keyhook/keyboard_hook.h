#pragma once
// A system-wide low-level keyboard hook on X11. While a KeyboardHook lives, its procedure is
// called on the installing (GUI) thread for every key press and release on the display, whichever
// program has the focus, and the keys still reach that program. Alt+F9 to Alt+F12 are the
// exception: the hook reserves them on the display, so they reach the procedure only.
//
// Backed by a connection of its own to the X server named by $DISPLAY (independent of Qt's
// platform plugin): XInput2 raw key events on the root window, watched by a QSocketNotifier.
//
// Differences from a PC desktop hook, by necessity of X:
// - The procedure's result is not used: nothing can be held back once X has delivered it, and the
//   four Alt combinations above are held back whatever the procedure returns.
// - llkhf::Injected is never set. Every program that types on X (on-screen keyboards, remote
//   desktops, test drivers such as xdotool) goes through the XTEST extension, which reaches the
//   hook as typed keys; events a program sends straight to a window never reach the hook at all.
// - time is the X server's millisecond clock.

#include "platform/keyhook/key_codes.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

namespace platform {

class KeyboardHook {
 public:
  // The hook procedure: hook code (always HC_ACTION), message, event record.
  using Procedure = std::function<long(int nCode, KeyMessage wParam, const KbdLlHookStruct& record)>;

  // Connects to the display and starts reporting keys to procedure. Returns null, with the reason
  // in *error when given, when $DISPLAY names no reachable X server or the server lacks XInput2.
  static std::unique_ptr<KeyboardHook> install(Procedure procedure, QString* error = nullptr);

  // Removes the hook: no call of the procedure after this returns (also when the procedure
  // itself removes the hook).
  ~KeyboardHook();
  KeyboardHook(const KeyboardHook&) = delete;
  KeyboardHook& operator=(const KeyboardHook&) = delete;

  // Names this installation: non-zero, and different for every install of the run.
  std::uint32_t handle() const;

  // The state of a key as the hook last saw it: bit 0x8000 set while it is held. vk::Menu,
  // vk::Shift and vk::Control stand for either key of the pair. Inside the procedure this is the
  // state before the event being reported.
  std::int16_t keyState(std::uint32_t vkCode) const;

  // False once the connection to the X server is lost; the procedure is called no more.
  bool connected() const;

  // Calls the procedure now for the key events the X server has already sent, instead of when the
  // event loop next looks: after holding the thread (a word said aloud), the caller learns of the
  // keys pressed meanwhile before it goes on.
  void deliverPendingKeys();

 private:
  struct State;
  explicit KeyboardHook(std::unique_ptr<State> state);
  std::unique_ptr<State> state_;
};

}  // namespace platform
