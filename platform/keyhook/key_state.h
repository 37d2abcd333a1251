#pragma once
// The keys held down, as the hook has seen them, and the message and record of each event built
// from that state. Pure bookkeeping: the X side feeds it presses and releases.

#include "platform/keyhook/key_codes.h"

#include <bitset>
#include <cstdint>

namespace platform {

struct KeyEvent {
  KeyMessage message = KeyMessage::KeyDown;
  KbdLlHookStruct record;
};

class KeyStateTable {
 public:
  // The message and record of a press or release of key at time, given the keys held before it.
  KeyEvent describe(const KeyIdentity& key, bool release, std::uint32_t time) const;

  // Takes a press or release into the state.
  void apply(std::uint32_t vkCode, bool release);

  // Whether a key is held; vk::Menu, vk::Shift and vk::Control stand for either key of the pair.
  bool isDown(std::uint32_t vkCode) const;

 private:
  std::bitset<256> down_;
};

}  // namespace platform
