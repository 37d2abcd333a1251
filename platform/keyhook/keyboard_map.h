#pragma once
// What the X server's current keyboard mapping means for the hook: each keycode's PC key and the
// modifier bits of Alt and NumLock. Read again whenever the server announces a new mapping.

#include "platform/keyhook/key_codes.h"

#include <X11/Xlib.h>

#include <array>

namespace platform::keyhook_x11 {

class KeyboardMap {
 public:
  explicit KeyboardMap(Display* display);

  // The PC key of a keycode (its unshifted keysym's); vk::Unassigned for keys without one.
  const KeyIdentity& key(unsigned keycode) const { return keys_[keycode & 0xFF]; }

  unsigned altMask() const { return altMask_; }
  unsigned numLockMask() const { return numLockMask_; }

 private:
  std::array<KeyIdentity, 256> keys_{};
  unsigned altMask_ = Mod1Mask;
  unsigned numLockMask_ = Mod2Mask;
};

}  // namespace platform::keyhook_x11
