#include "libraries/mdlExportPicToIcon.h"

#include "platform/files/safe_write.h"

#include <QtEndian>

#include <array>
#include <limits>
#include <vector>

namespace {

constexpr int kSide = 32;
constexpr int kInfoHeaderBytes = 40;
constexpr int kFileHeaderBytes = 6 + 16;  // ICONDIR and its one ICONDIRENTRY
constexpr int kMaskRowBytes = 4;          // 32 one-bit pixels
constexpr int kMaskBytes = kMaskRowBytes * kSide;

// The standard 16 colours in the order of the system's 4-bit palette.
constexpr std::array<QRgb, 16> kStandard16 = {
    0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080, 0xFF008080, 0xFFC0C0C0,
    0xFF808080, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00, 0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF,
};
constexpr std::array<QRgb, 2> kMonochrome = {0xFF000000, 0xFFFFFFFF};

std::array<QRgb, 256> Make256() {
  std::array<QRgb, 256> palette{};
  std::size_t next = 0;
  for (const QRgb color : kStandard16) palette[next++] = color;
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b) palette[next++] = qRgb(r * 51, g * 51, b * 51);
  for (int grey = 0; next < palette.size(); ++grey) palette[next++] = qRgb(8 + grey * 10, 8 + grey * 10, 8 + grey * 10);
  return palette;
}

int RowBytes(int bits) { return ((kSide * bits + 31) / 32) * 4; }

void Append16(QByteArray& out, quint16 value) {
  const quint16 le = qToLittleEndian(value);
  out.append(reinterpret_cast<const char*>(&le), sizeof le);
}
void Append32(QByteArray& out, quint32 value) {
  const quint32 le = qToLittleEndian(value);
  out.append(reinterpret_cast<const char*>(&le), sizeof le);
}

// The working copy: 32 x 32 opaque pixels, black where the picture has none.
QImage WorkingCopy(const QImage& picture) {
  QImage copy(kSide, kSide, QImage::Format_RGB32);
  copy.fill(Qt::black);
  const QImage source = picture.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < std::min(kSide, source.height()); ++y)
    for (int x = 0; x < std::min(kSide, source.width()); ++x) copy.setPixel(x, y, source.pixel(x, y) | 0xFF000000);
  return copy;
}

// Colour bits, bottom row first, each row padded to four bytes.
QByteArray ColorBits(const QImage& copy, const std::vector<bool>& transparent, int bits) {
  const std::span<const QRgb> palette = IconPalette(bits);
  QByteArray out(RowBytes(bits) * kSide, '\0');
  for (int y = 0; y < kSide; ++y) {
    char* row = out.data() + (kSide - 1 - y) * RowBytes(bits);
    for (int x = 0; x < kSide; ++x) {
      const QRgb color = transparent[y * kSide + x] ? 0xFF000000 : copy.pixel(x, y);
      if (bits == 24) {
        row[x * 3] = static_cast<char>(qBlue(color));
        row[x * 3 + 1] = static_cast<char>(qGreen(color));
        row[x * 3 + 2] = static_cast<char>(qRed(color));
        continue;
      }
      const int index = NearestColorIndex(color, palette);
      const int bitOffset = x * bits;
      const int shift = 8 - bits - bitOffset % 8;  // the leftmost pixel takes the high bits
      row[bitOffset / 8] = static_cast<char>(static_cast<unsigned char>(row[bitOffset / 8]) | (index << shift));
    }
  }
  return out;
}

QByteArray AndMask(const std::vector<bool>& transparent) {
  QByteArray out(kMaskBytes, '\0');
  for (int y = 0; y < kSide; ++y) {
    char* row = out.data() + (kSide - 1 - y) * kMaskRowBytes;
    for (int x = 0; x < kSide; ++x) {
      if (transparent[y * kSide + x]) row[x / 8] = static_cast<char>(static_cast<unsigned char>(row[x / 8]) | (0x80 >> (x % 8)));
    }
  }
  return out;
}

}  // namespace

std::span<const QRgb> IconPalette(int bits) {
  static const std::array<QRgb, 256> k256 = Make256();
  switch (bits) {
    case 1: return kMonochrome;
    case 4: return kStandard16;
    case 8: return k256;
    default: return {};
  }
}

int NearestColorIndex(QRgb color, std::span<const QRgb> palette) {
  int best = 0;
  int bestDistance = std::numeric_limits<int>::max();
  for (std::size_t i = 0; i < palette.size(); ++i) {
    const int dr = qRed(color) - qRed(palette[i]);
    const int dg = qGreen(color) - qGreen(palette[i]);
    const int db = qBlue(color) - qBlue(palette[i]);
    const int distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = static_cast<int>(i);
    }
  }
  return best;
}

QByteArray IconFileBytes(const QImage& picture, QRgb transparentColor, int bits) {
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24) return {};
  const QImage copy = WorkingCopy(picture);
  std::vector<bool> transparent(kSide * kSide);
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) transparent[y * kSide + x] = (copy.pixel(x, y) & 0xFFFFFF) == (transparentColor & 0xFFFFFF);

  const std::span<const QRgb> palette = IconPalette(bits);
  const QByteArray colorBits = ColorBits(copy, transparent, bits);
  const QByteArray mask = AndMask(transparent);
  const auto tableBytes = static_cast<quint32>(palette.size() * 4);
  const auto imageBytes = static_cast<quint32>(colorBits.size() + mask.size());
  const quint32 resourceBytes = kInfoHeaderBytes + tableBytes + imageBytes;

  QByteArray out;
  out.reserve(static_cast<qsizetype>(kFileHeaderBytes + resourceBytes));
  Append16(out, 0);  // reserved
  Append16(out, 1);  // icon
  Append16(out, 1);  // one image
  out.append(static_cast<char>(kSide));
  out.append(static_cast<char>(kSide));
  out.append(static_cast<char>(palette.size() < 256 ? palette.size() : 0));  // colour count, 0 = 256 or more
  out.append('\0');
  Append16(out, 1);  // planes
  Append16(out, static_cast<quint16>(bits));
  Append32(out, resourceBytes);
  Append32(out, kFileHeaderBytes);

  Append32(out, kInfoHeaderBytes);
  Append32(out, kSide);
  Append32(out, kSide * 2);  // colour image and mask
  Append16(out, 1);
  Append16(out, static_cast<quint16>(bits));
  Append32(out, 0);  // no compression
  Append32(out, imageBytes);
  Append32(out, 0);
  Append32(out, 0);
  Append32(out, 0);  // colours used: the whole table
  Append32(out, 0);
  for (const QRgb color : palette) {
    out.append(static_cast<char>(qBlue(color)));
    out.append(static_cast<char>(qGreen(color)));
    out.append(static_cast<char>(qRed(color)));
    out.append('\0');
  }
  out.append(colorBits);
  out.append(mask);
  return out;
}

bool ExportPicToIcon(const QImage& picture, QRgb transparentColor, const QString& targetFileName, int bits) {
  const QByteArray bytes = IconFileBytes(picture, transparentColor, bits);
  if (bytes.isEmpty()) return false;
  return platform::WriteFileAtomically(targetFileName, bytes);
}
