#pragma once
// The program lays windows out in twips, 15 to a screen pixel, as its layout arithmetic assumes.

#include <QRect>

#include <cmath>

namespace platform {

inline constexpr int kTwipsPerPixel = 15;

inline int TwipsToPixels(double twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel)); }
inline double PixelsToTwips(int pixels) { return static_cast<double>(pixels) * kTwipsPerPixel; }

}  // namespace platform
