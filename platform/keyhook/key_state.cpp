#include "platform/keyhook/key_state.h"

namespace platform {

KeyEvent KeyStateTable::describe(const KeyIdentity& key, bool release, std::uint32_t time) const {
  // Alt counts as held for the Alt key's own press, and no longer for its release unless the
  // other Alt key is still down.
  bool altDown = isDown(vk::Menu);
  if (key.vkCode == vk::LMenu) altDown = !release || isDown(vk::RMenu);
  if (key.vkCode == vk::RMenu) altDown = !release || isDown(vk::LMenu);

  KeyEvent event;
  event.message = MessageForKeyEvent(release, altDown);
  event.record.vkCode = key.vkCode;
  event.record.scanCode = key.scanCode;
  event.record.flags = BuildKeyFlags(release, altDown, key.extended);
  event.record.time = time;
  return event;
}

void KeyStateTable::apply(std::uint32_t vkCode, bool release) {
  if (vkCode < down_.size() && vkCode != vk::Unassigned) down_.set(vkCode, !release);
}

bool KeyStateTable::isDown(std::uint32_t vkCode) const {
  switch (vkCode) {
    case vk::Menu: return down_.test(vk::LMenu) || down_.test(vk::RMenu);
    case vk::Shift: return down_.test(vk::LShift) || down_.test(vk::RShift);
    case vk::Control: return down_.test(vk::LControl) || down_.test(vk::RControl);
    default: return vkCode < down_.size() && down_.test(vkCode);
  }
}

}  // namespace platform
