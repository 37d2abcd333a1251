#include "platform/keyhook/keyboard_map.h"

#include <X11/XKBlib.h>
#include <X11/keysym.h>

#include <memory>

namespace platform::keyhook_x11 {

namespace {

struct XFreeDeleter {
  void operator()(void* data) const { XFree(data); }
};
struct ModifierMapDeleter {
  void operator()(XModifierKeymap* map) const { XFreeModifiermap(map); }
};

}  // namespace

KeyboardMap::KeyboardMap(Display* display) {
  int minKeycode = 0;
  int maxKeycode = 0;
  XDisplayKeycodes(display, &minKeycode, &maxKeycode);
  const int count = maxKeycode - minKeycode + 1;
  int symbolsPerKeycode = 0;
  const std::unique_ptr<KeySym, XFreeDeleter> symbols(
      XGetKeyboardMapping(display, static_cast<KeyCode>(minKeycode), count, &symbolsPerKeycode));
  if (symbols && symbolsPerKeycode > 0) {
    for (int i = 0; i < count; ++i) {
      const KeySym unshifted = symbols.get()[i * symbolsPerKeycode];
      keys_[static_cast<std::size_t>(minKeycode + i) & 0xFF] = KeyIdentityForKeysym(unshifted);
    }
  }

  // Alt and NumLock are whichever modifier bits the server assigned their keys to.
  const std::unique_ptr<XModifierKeymap, ModifierMapDeleter> modifiers(XGetModifierMapping(display));
  if (!modifiers) return;
  bool altFound = false;
  bool numLockFound = false;
  for (int modifier = 0; modifier < 8; ++modifier) {
    for (int k = 0; k < modifiers->max_keypermod; ++k) {
      const KeyCode keycode = modifiers->modifiermap[modifier * modifiers->max_keypermod + k];
      if (keycode == 0) continue;
      const KeySym keysym = XkbKeycodeToKeysym(display, keycode, 0, 0);
      if (!altFound && (keysym == XK_Alt_L || keysym == XK_Alt_R)) {
        altMask_ = 1u << modifier;
        altFound = true;
      }
      if (!numLockFound && keysym == XK_Num_Lock) {
        numLockMask_ = 1u << modifier;
        numLockFound = true;
      }
    }
  }
}

}  // namespace platform::keyhook_x11
