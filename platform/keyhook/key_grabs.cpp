#include "platform/keyhook/key_grabs.h"

#include "platform/keyhook/x_connection.h"

#include <X11/keysym.h>

#include <array>

namespace platform::keyhook_x11 {

AltHotKeyGrabs GrabAltHotKeys(Display* display, const KeyboardMap& map) {
  const Window root = DefaultRootWindow(display);
  const std::array<unsigned, 4> lockVariants{0u, LockMask, map.numLockMask(), LockMask | map.numLockMask()};
  // The hook acts on F9 to F12 whenever Alt is down, whatever else is held: Shift and Control
  // with Alt must not reach the focused program either.
  const std::array<unsigned, 4> extraModifiers{0u, ShiftMask, ControlMask, ShiftMask | ControlMask};
  AltHotKeyGrabs grabs;
  for (KeySym keysym = XK_F9; keysym <= XK_F12; ++keysym) {
    const KeyCode keycode = XKeysymToKeycode(display, keysym);
    if (keycode == 0) continue;  // a keyboard without this key: nothing to reserve
    ErrorTrap trap(display);
    for (const unsigned extra : extraModifiers) {
      for (const unsigned locks : lockVariants) {
        XGrabKey(display, keycode, map.altMask() | extra | locks, root, False, GrabModeAsync, GrabModeAsync);
      }
    }
    grabs.keycodes.push_back(keycode);
    if (!trap.finish()) grabs.refused << QStringLiteral("Alt+") + QString::fromLatin1(XKeysymToString(keysym));
  }
  return grabs;
}

void UngrabAltHotKeys(Display* display, const AltHotKeyGrabs& grabs) {
  const Window root = DefaultRootWindow(display);
  for (const KeyCode keycode : grabs.keycodes) XUngrabKey(display, keycode, AnyModifier, root);
}

}  // namespace platform::keyhook_x11
