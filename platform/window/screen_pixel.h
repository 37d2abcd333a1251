#pragma once
// The colour of one pixel of the screen, as the screen now shows it (whatever window lies there).

#include <cstdint>

namespace platform {

// What GetPixel returns for a point it cannot read (outside every screen, or the read failed).
inline constexpr std::int32_t kInvalidColor = -1;

// The colour at (x, y) in virtual-screen pixels, as 0x00BBGGRR, or kInvalidColor.
std::int32_t GetPixel(int x, int y);

}  // namespace platform
