#pragma once
// The keyboard record a low-level hook procedure receives, and the pure translation of X keysyms
// into the virtual-key codes, scan codes and flags that record carries. Nothing here talks to X,
// so the translation is testable without a display.

#include <cstdint>

namespace platform {

// Virtual-key codes the program and its hook procedure compare against.
namespace vk {
inline constexpr std::uint32_t Back = 0x08, Tab = 0x09, Clear = 0x0C, Return = 0x0D;
inline constexpr std::uint32_t Shift = 0x10, Control = 0x11, Menu = 0x12, Pause = 0x13, Capital = 0x14;
inline constexpr std::uint32_t Escape = 0x1B, Space = 0x20, Prior = 0x21, Next = 0x22, End = 0x23, Home = 0x24;
inline constexpr std::uint32_t Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28;
inline constexpr std::uint32_t Snapshot = 0x2C, Insert = 0x2D, Delete = 0x2E;
inline constexpr std::uint32_t Key0 = 0x30, KeyA = 0x41;  // '0'..'9' and 'A'..'Z' are their own codes
inline constexpr std::uint32_t LWin = 0x5B, RWin = 0x5C, Apps = 0x5D;
inline constexpr std::uint32_t Numpad0 = 0x60, Multiply = 0x6A, Add = 0x6B, Subtract = 0x6D, Decimal = 0x6E,
                               Divide = 0x6F;
inline constexpr std::uint32_t F1 = 0x70, F9 = 0x78, F10 = 0x79, F11 = 0x7A, F12 = 0x7B, F24 = 0x87;
inline constexpr std::uint32_t NumLock = 0x90, Scroll = 0x91;
inline constexpr std::uint32_t LShift = 0xA0, RShift = 0xA1, LControl = 0xA2, RControl = 0xA3, LMenu = 0xA4,
                               RMenu = 0xA5;
inline constexpr std::uint32_t Oem1 = 0xBA, OemPlus = 0xBB, OemComma = 0xBC, OemMinus = 0xBD, OemPeriod = 0xBE,
                               Oem2 = 0xBF, Oem3 = 0xC0, Oem4 = 0xDB, Oem5 = 0xDC, Oem6 = 0xDD, Oem7 = 0xDE,
                               Oem102 = 0xE2;
// A key that has no virtual-key code of its own (media keys and the like).
inline constexpr std::uint32_t Unassigned = 0xFF;
}  // namespace vk

// Bits of KbdLlHookStruct::flags.
namespace llkhf {
inline constexpr std::uint32_t Extended = 0x01;  // a key of the extended set (right Alt/Ctrl, arrows, ...)
inline constexpr std::uint32_t Injected = 0x10;  // sent by a program, not typed
inline constexpr std::uint32_t AltDown = 0x20;   // an Alt key is held (including the Alt key's own press)
inline constexpr std::uint32_t Up = 0x80;        // the key is being released
}  // namespace llkhf

// The hook code of an ordinary keyboard event.
inline constexpr int HC_ACTION = 0;

// The keyboard message an event stands for (the hook procedure's second argument).
enum class KeyMessage : std::uint32_t { KeyDown = 0x0100, KeyUp = 0x0101, SysKeyDown = 0x0104, SysKeyUp = 0x0105 };

// One keyboard event as the hook procedure receives it.
struct KbdLlHookStruct {
  std::uint32_t vkCode = 0;    // virtual-key code
  std::uint32_t scanCode = 0;  // the key's scan code (set 1, as a PC keyboard sends it)
  std::uint32_t flags = 0;     // llkhf bits
  std::uint32_t time = 0;      // event time in milliseconds (the X server's clock)
  std::uintptr_t dwExtraInfo = 0;
};

// What a keysym stands for on a PC keyboard.
struct KeyIdentity {
  std::uint32_t vkCode = vk::Unassigned;
  std::uint32_t scanCode = 0;
  bool extended = false;
};

// The virtual key, scan code and extended bit of an X keysym (the unshifted symbol of a key).
KeyIdentity KeyIdentityForKeysym(unsigned long keysym);

// The flags of an event. altDown is the Alt state after the event: set for the Alt key's own
// press, clear for its release unless the other Alt key is still held.
std::uint32_t BuildKeyFlags(bool release, bool altDown, bool extended);

// The message of an event: the "system" messages while Alt is held, as on a PC desktop.
KeyMessage MessageForKeyEvent(bool release, bool altDown);

}  // namespace platform
