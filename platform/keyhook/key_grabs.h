#pragma once
// Alt+F9 to Alt+F12 are the hot keys the program consumes: a passive grab on the root window
// makes the X server hand them to the hook's connection instead of the focused program. A grab
// matches the exact modifier state, so each key is grabbed with Alt alone and with Shift, Control
// or both beside it, each also with CapsLock and NumLock on. The grabs end with the connection.

#include <QStringList>

// Xlib after Qt: its macros (None, Bool, Status, ...) would clash with Qt's names.
#include "platform/keyhook/keyboard_map.h"

#include <X11/Xlib.h>

#include <vector>

namespace platform::keyhook_x11 {

struct AltHotKeyGrabs {
  std::vector<KeyCode> keycodes;  // the keys grabbed, to release them when the mapping changes
  QStringList refused;            // combinations another program already holds, as "Alt+F10"
};

AltHotKeyGrabs GrabAltHotKeys(Display* display, const KeyboardMap& map);
void UngrabAltHotKeys(Display* display, const AltHotKeyGrabs& grabs);

}  // namespace platform::keyhook_x11
