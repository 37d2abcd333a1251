#include "platform/keyhook/key_codes.h"
#include "platform/keyhook/key_state.h"

#include <gtest/gtest.h>

#include <X11/XF86keysym.h>
#include <X11/keysym.h>

namespace platform {
namespace {

struct KeysymCase {
  unsigned long keysym;
  std::uint32_t vkCode;
  std::uint32_t scanCode;
  bool extended;
};

TEST(KeyIdentityForKeysym, MapsHotKeysModifiersAndCommonKeys) {
  const KeysymCase cases[] = {
      {XK_Escape, vk::Escape, 0x01, false},   {XK_Pause, vk::Pause, 0x45, false},
      {XK_F1, vk::F1, 0x3B, false},           {XK_F9, vk::F9, 0x43, false},
      {XK_F10, vk::F10, 0x44, false},         {XK_F11, vk::F11, 0x57, false},
      {XK_F12, vk::F12, 0x58, false},         {XK_F24, vk::F24, 0x76, false},
      {XK_Alt_L, vk::LMenu, 0x38, false},     {XK_Alt_R, vk::RMenu, 0x38, true},
      {XK_Shift_L, vk::LShift, 0x2A, false},  {XK_Control_R, vk::RControl, 0x1D, true},
      {XK_a, 'A', 0x1E, false},               {XK_Z, 'Z', 0x2C, false},
      {XK_0, '0', 0x0B, false},               {XK_9, '9', 0x0A, false},
      {XK_Return, vk::Return, 0x1C, false},   {XK_KP_Enter, vk::Return, 0x1C, true},
      {XK_space, vk::Space, 0x39, false},     {XK_Left, vk::Left, 0x4B, true},
      {XK_Home, vk::Home, 0x47, true},        {XK_KP_Home, vk::Home, 0x47, false},
      {XK_KP_7, vk::Numpad0 + 7, 0x47, false}, {XK_slash, vk::Oem2, 0x35, false},
  };
  for (const auto& c : cases) {
    const KeyIdentity key = KeyIdentityForKeysym(c.keysym);
    EXPECT_EQ(key.vkCode, c.vkCode) << "keysym " << std::hex << c.keysym;
    EXPECT_EQ(key.scanCode, c.scanCode) << "keysym " << std::hex << c.keysym;
    EXPECT_EQ(key.extended, c.extended) << "keysym " << std::hex << c.keysym;
  }
}

TEST(KeyIdentityForKeysym, KeysWithoutAPcCodeAreUnassigned) {
  EXPECT_EQ(KeyIdentityForKeysym(XF86XK_AudioPlay).vkCode, vk::Unassigned);
  EXPECT_EQ(KeyIdentityForKeysym(0).vkCode, vk::Unassigned);
}

// Presses and releases in order against one table, as the hook feeds them.
class KeySequence {
 public:
  KeyEvent press(unsigned long keysym) { return step(keysym, false); }
  KeyEvent release(unsigned long keysym) { return step(keysym, true); }
  const KeyStateTable& table() const { return table_; }

 private:
  KeyEvent step(unsigned long keysym, bool release) {
    const KeyIdentity key = KeyIdentityForKeysym(keysym);
    const KeyEvent event = table_.describe(key, release, 0);
    table_.apply(key.vkCode, release);
    return event;
  }
  KeyStateTable table_;
};

TEST(KeyStateTable, PlainKeyReleaseIsExactlyTheUpFlag) {
  KeySequence keys;
  const KeyEvent press = keys.press(XK_Escape);
  EXPECT_EQ(press.record.flags, 0u);
  EXPECT_EQ(press.message, KeyMessage::KeyDown);
  const KeyEvent release = keys.release(XK_Escape);
  EXPECT_EQ(release.record.flags, llkhf::Up);
  EXPECT_EQ(release.message, KeyMessage::KeyUp);
  EXPECT_EQ(release.record.vkCode, vk::Escape);
}

TEST(KeyStateTable, AltFlagFollowsTheAltKeys) {
  KeySequence keys;
  const KeyEvent altPress = keys.press(XK_Alt_L);
  EXPECT_EQ(altPress.record.flags, llkhf::AltDown);
  EXPECT_EQ(altPress.message, KeyMessage::SysKeyDown);

  const KeyEvent f12Press = keys.press(XK_F12);
  EXPECT_EQ(f12Press.record.flags, llkhf::AltDown);
  EXPECT_EQ(f12Press.message, KeyMessage::SysKeyDown);
  EXPECT_EQ(keys.release(XK_F12).record.flags, llkhf::AltDown | llkhf::Up);

  const KeyEvent altRelease = keys.release(XK_Alt_L);
  EXPECT_EQ(altRelease.record.flags, llkhf::Up);
  EXPECT_EQ(altRelease.message, KeyMessage::KeyUp);
  EXPECT_EQ(keys.press(XK_F12).record.flags, 0u);
}

TEST(KeyStateTable, AltStaysDownWhileTheOtherAltKeyIsHeld) {
  KeySequence keys;
  keys.press(XK_Alt_L);
  EXPECT_EQ(keys.press(XK_Alt_R).record.flags, llkhf::AltDown | llkhf::Extended);
  EXPECT_EQ(keys.release(XK_Alt_L).record.flags, llkhf::AltDown | llkhf::Up);
  EXPECT_TRUE(keys.table().isDown(vk::Menu));
  EXPECT_EQ(keys.release(XK_Alt_R).record.flags, llkhf::Extended | llkhf::Up);
  EXPECT_FALSE(keys.table().isDown(vk::Menu));
}

TEST(KeyStateTable, GenericModifierCodesStandForEitherSide) {
  KeySequence keys;
  keys.press(XK_Shift_R);
  keys.press(XK_Control_L);
  EXPECT_TRUE(keys.table().isDown(vk::Shift));
  EXPECT_TRUE(keys.table().isDown(vk::Control));
  EXPECT_FALSE(keys.table().isDown(vk::Menu));
  keys.release(XK_Shift_R);
  EXPECT_FALSE(keys.table().isDown(vk::Shift));
}

}  // namespace
}  // namespace platform
