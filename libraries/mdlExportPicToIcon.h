#pragma once
// The icon writer: the top-left 32 x 32 pixels of a picture as a single-image icon file (.ico) at
// 1, 4, 8 or 24 bits per pixel, with every pixel of one colour transparent (AND-mask bit 1, black
// in the colour bits). At 1, 4 and 8 bits the colours are reduced to a fixed palette (black and
// white; the standard 16 colours; the 16 colours, a 6 x 6 x 6 colour cube and 24 greys) by
// nearest colour, and that palette is written as the colour table. The headers carry the
// standard values (planes 1, the real bit count, the image size), so any icon reader takes them.

#include <QByteArray>
#include <QImage>
#include <QString>

#include <span>

// The palette written at a depth of 1, 4 or 8 bits (2, 16 or 256 colours); empty at other depths.
std::span<const QRgb> IconPalette(int bits);

// The index of the palette colour nearest to `color` (squared RGB distance; the first of equals).
int NearestColorIndex(QRgb color, std::span<const QRgb> palette);

// The bytes of the icon file; empty when `bits` is not 1, 4, 8 or 24. Pixels outside a picture
// smaller than 32 x 32 count as black. Colours are compared without their alpha.
QByteArray IconFileBytes(const QImage& picture, QRgb transparentColor, int bits);

// Writes IconFileBytes to `targetFileName` through a temporary file renamed over the old one.
// False when the depth is not supported or the file could not be written; then no old file is
// damaged.
bool ExportPicToIcon(const QImage& picture, QRgb transparentColor, const QString& targetFileName, int bits);
