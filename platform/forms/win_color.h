#pragma once
// Colours as the settings files store them: one 24-bit number with red in the lowest byte,
// green in the next and blue in the third (0 is black, 16777215 is white).

#include <QColor>

#include <cstdint>

namespace platform {

inline QColor FromWinColor(std::int32_t value) {
  const auto v = static_cast<std::uint32_t>(value);
  return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>((v >> 16) & 0xFF));
}

inline std::int32_t ToWinColor(const QColor& color) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(color.red()) |
                                   (static_cast<std::uint32_t>(color.green()) << 8) |
                                   (static_cast<std::uint32_t>(color.blue()) << 16));
}

}  // namespace platform
