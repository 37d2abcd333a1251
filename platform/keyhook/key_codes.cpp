#include "platform/keyhook/key_codes.h"

#include <X11/keysym.h>

#include <array>

namespace platform {

namespace {

struct KeysymEntry {
  unsigned long keysym;
  KeyIdentity key;
};

constexpr KeyIdentity Plain(std::uint32_t vkCode, std::uint32_t scan) { return {vkCode, scan, false}; }
constexpr KeyIdentity Ext(std::uint32_t vkCode, std::uint32_t scan) { return {vkCode, scan, true}; }

// Keys outside the contiguous letter, digit and function-key ranges. Scan codes are those of a
// PC keyboard (set 1); the numeric keypad's keys without NumLock keep their own, non-extended
// scan codes, as on a PC.
constexpr std::array kKeysymTable{
    KeysymEntry{XK_Escape, Plain(vk::Escape, 0x01)},
    KeysymEntry{XK_Pause, Plain(vk::Pause, 0x45)},
    KeysymEntry{XK_BackSpace, Plain(vk::Back, 0x0E)},
    KeysymEntry{XK_Tab, Plain(vk::Tab, 0x0F)},
    KeysymEntry{XK_ISO_Left_Tab, Plain(vk::Tab, 0x0F)},
    KeysymEntry{XK_Return, Plain(vk::Return, 0x1C)},
    KeysymEntry{XK_space, Plain(vk::Space, 0x39)},
    KeysymEntry{XK_Caps_Lock, Plain(vk::Capital, 0x3A)},
    KeysymEntry{XK_Num_Lock, Ext(vk::NumLock, 0x45)},
    KeysymEntry{XK_Scroll_Lock, Plain(vk::Scroll, 0x46)},
    KeysymEntry{XK_Print, Ext(vk::Snapshot, 0x37)},
    KeysymEntry{XK_Shift_L, Plain(vk::LShift, 0x2A)},
    KeysymEntry{XK_Shift_R, Plain(vk::RShift, 0x36)},
    KeysymEntry{XK_Control_L, Plain(vk::LControl, 0x1D)},
    KeysymEntry{XK_Control_R, Ext(vk::RControl, 0x1D)},
    KeysymEntry{XK_Alt_L, Plain(vk::LMenu, 0x38)},
    KeysymEntry{XK_Alt_R, Ext(vk::RMenu, 0x38)},
    // The right Alt key of layouts that make it AltGr is still the right Alt key.
    KeysymEntry{XK_ISO_Level3_Shift, Ext(vk::RMenu, 0x38)},
    KeysymEntry{XK_Super_L, Ext(vk::LWin, 0x5B)},
    KeysymEntry{XK_Super_R, Ext(vk::RWin, 0x5C)},
    KeysymEntry{XK_Menu, Ext(vk::Apps, 0x5D)},
    KeysymEntry{XK_Insert, Ext(vk::Insert, 0x52)},
    KeysymEntry{XK_Delete, Ext(vk::Delete, 0x53)},
    KeysymEntry{XK_Home, Ext(vk::Home, 0x47)},
    KeysymEntry{XK_End, Ext(vk::End, 0x4F)},
    KeysymEntry{XK_Prior, Ext(vk::Prior, 0x49)},
    KeysymEntry{XK_Next, Ext(vk::Next, 0x51)},
    KeysymEntry{XK_Left, Ext(vk::Left, 0x4B)},
    KeysymEntry{XK_Up, Ext(vk::Up, 0x48)},
    KeysymEntry{XK_Right, Ext(vk::Right, 0x4D)},
    KeysymEntry{XK_Down, Ext(vk::Down, 0x50)},
    KeysymEntry{XK_semicolon, Plain(vk::Oem1, 0x27)},
    KeysymEntry{XK_equal, Plain(vk::OemPlus, 0x0D)},
    KeysymEntry{XK_comma, Plain(vk::OemComma, 0x33)},
    KeysymEntry{XK_minus, Plain(vk::OemMinus, 0x0C)},
    KeysymEntry{XK_period, Plain(vk::OemPeriod, 0x34)},
    KeysymEntry{XK_slash, Plain(vk::Oem2, 0x35)},
    KeysymEntry{XK_grave, Plain(vk::Oem3, 0x29)},
    KeysymEntry{XK_bracketleft, Plain(vk::Oem4, 0x1A)},
    KeysymEntry{XK_backslash, Plain(vk::Oem5, 0x2B)},
    KeysymEntry{XK_bracketright, Plain(vk::Oem6, 0x1B)},
    KeysymEntry{XK_apostrophe, Plain(vk::Oem7, 0x28)},
    KeysymEntry{XK_less, Plain(vk::Oem102, 0x56)},
    // Numeric keypad: the digits with NumLock on, the movement keys without it.
    KeysymEntry{XK_KP_Enter, Ext(vk::Return, 0x1C)},
    KeysymEntry{XK_KP_Divide, Ext(vk::Divide, 0x35)},
    KeysymEntry{XK_KP_Multiply, Plain(vk::Multiply, 0x37)},
    KeysymEntry{XK_KP_Subtract, Plain(vk::Subtract, 0x4A)},
    KeysymEntry{XK_KP_Add, Plain(vk::Add, 0x4E)},
    KeysymEntry{XK_KP_Decimal, Plain(vk::Decimal, 0x53)},
    KeysymEntry{XK_KP_Delete, Plain(vk::Delete, 0x53)},
    KeysymEntry{XK_KP_Insert, Plain(vk::Insert, 0x52)},
    KeysymEntry{XK_KP_End, Plain(vk::End, 0x4F)},
    KeysymEntry{XK_KP_Down, Plain(vk::Down, 0x50)},
    KeysymEntry{XK_KP_Next, Plain(vk::Next, 0x51)},
    KeysymEntry{XK_KP_Left, Plain(vk::Left, 0x4B)},
    KeysymEntry{XK_KP_Begin, Plain(vk::Clear, 0x4C)},
    KeysymEntry{XK_KP_Right, Plain(vk::Right, 0x4D)},
    KeysymEntry{XK_KP_Home, Plain(vk::Home, 0x47)},
    KeysymEntry{XK_KP_Up, Plain(vk::Up, 0x48)},
    KeysymEntry{XK_KP_Prior, Plain(vk::Prior, 0x49)},
};

// Scan codes of the letters A..Z and the digits 0..9 on a PC keyboard.
constexpr std::array<std::uint32_t, 26> kLetterScanCodes{
    0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17, 0x24, 0x25, 0x26, 0x32,
    0x31, 0x18, 0x19, 0x10, 0x13, 0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};
constexpr std::array<std::uint32_t, 10> kDigitScanCodes{0x0B, 0x02, 0x03, 0x04, 0x05,
                                                        0x06, 0x07, 0x08, 0x09, 0x0A};
constexpr std::array<std::uint32_t, 10> kKeypadDigitScanCodes{0x52, 0x4F, 0x50, 0x51, 0x4B,
                                                              0x4C, 0x4D, 0x47, 0x48, 0x49};
// F1..F24: F1-F10 and F11-F12 sit in two runs; F13-F24 follow the extended PC layout.
constexpr std::array<std::uint32_t, 24> kFunctionScanCodes{
    0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0x40, 0x41, 0x42, 0x43, 0x44, 0x57, 0x58,
    0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6A, 0x6B, 0x6C, 0x6D, 0x6E, 0x76};

}  // namespace

KeyIdentity KeyIdentityForKeysym(unsigned long keysym) {
  if (keysym >= XK_a && keysym <= XK_z) keysym -= XK_a - XK_A;
  if (keysym >= XK_A && keysym <= XK_Z) {
    const auto index = static_cast<std::uint32_t>(keysym - XK_A);
    return Plain(vk::KeyA + index, kLetterScanCodes[index]);
  }
  if (keysym >= XK_0 && keysym <= XK_9) {
    const auto index = static_cast<std::uint32_t>(keysym - XK_0);
    return Plain(vk::Key0 + index, kDigitScanCodes[index]);
  }
  if (keysym >= XK_KP_0 && keysym <= XK_KP_9) {
    const auto index = static_cast<std::uint32_t>(keysym - XK_KP_0);
    return Plain(vk::Numpad0 + index, kKeypadDigitScanCodes[index]);
  }
  if (keysym >= XK_F1 && keysym <= XK_F24) {
    const auto index = static_cast<std::uint32_t>(keysym - XK_F1);
    return Plain(vk::F1 + index, kFunctionScanCodes[index]);
  }
  for (const auto& entry : kKeysymTable) {
    if (entry.keysym == keysym) return entry.key;
  }
  return {};
}

std::uint32_t BuildKeyFlags(bool release, bool altDown, bool extended) {
  std::uint32_t flags = 0;
  if (extended) flags |= llkhf::Extended;
  if (altDown) flags |= llkhf::AltDown;
  if (release) flags |= llkhf::Up;
  return flags;
}

KeyMessage MessageForKeyEvent(bool release, bool altDown) {
  if (altDown) return release ? KeyMessage::SysKeyUp : KeyMessage::SysKeyDown;
  return release ? KeyMessage::KeyUp : KeyMessage::KeyDown;
}

}  // namespace platform
