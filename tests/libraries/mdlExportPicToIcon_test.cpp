#include "libraries/mdlExportPicToIcon.h"

#include "tests/support/read_only_folder.h"
#include "tests/support/temp_folders.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

namespace {

using testing_support::TempFolders;

constexpr QRgb kMagenta = 0xFFFF00FF;

quint16 U16(const QByteArray& bytes, int offset) { return qFromLittleEndian<quint16>(bytes.constData() + offset); }
quint32 U32(const QByteArray& bytes, int offset) { return qFromLittleEndian<quint32>(bytes.constData() + offset); }

// A 40 x 36 picture: magenta on the left quarter of the top 32 x 32 square, four colour bands
// elsewhere, and white outside that square (which the icon must not take).
QImage TestPicture() {
  QImage picture(40, 36, QImage::Format_RGB32);
  picture.fill(Qt::white);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      QRgb color = x < 8 ? kMagenta : 0xFF0000FF;
      if (x >= 8 && y >= 16) color = 0xFF20E020;  // near green: no palette holds it exactly
      if (x >= 24 && y < 16) color = 0xFFFFFF00;
      picture.setPixel(x, y, color);
    }
  }
  return picture;
}

QImage ReadBack(const QByteArray& bytes) {
  QBuffer buffer;
  buffer.setData(bytes);
  QImageReader reader(&buffer, "ico");
  return reader.read();
}

TEST(IconWriter, WritesAStandardIconAtEachDepthThatQtReadsBack) {
  struct Case {
    int bits;
    int fileSize;
    int colorCount;
    QRgb green;  // what the near-green band becomes
  };
  const Case cases[] = {
      {1, 326, 2, 0xFF000000},
      {4, 766, 16, 0xFF00FF00},
      {8, 2238, 0, 0xFF33CC33},
      {24, 3262, 0, 0xFF20E020},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bits);
    const QByteArray bytes = IconFileBytes(TestPicture(), kMagenta, c.bits);
    ASSERT_EQ(bytes.size(), c.fileSize);
    EXPECT_EQ(bytes.left(8), QByteArray::fromHex("0000010001002020"));
    EXPECT_EQ(static_cast<unsigned char>(bytes[8]), c.colorCount);
    EXPECT_EQ(U16(bytes, 10), 1);       // planes
    EXPECT_EQ(U16(bytes, 12), c.bits);  // bit count
    EXPECT_EQ(U32(bytes, 14), static_cast<quint32>(c.fileSize - 22));
    EXPECT_EQ(U32(bytes, 18), 22u);
    EXPECT_EQ(U32(bytes, 22), 40u);
    EXPECT_EQ(U32(bytes, 30), 64u);  // colour image and mask
    EXPECT_EQ(U16(bytes, 36), c.bits);
    EXPECT_EQ(U32(bytes, 42), static_cast<quint32>(32 * ((32 * c.bits + 31) / 32) * 4 + 128));  // image size

    // The mask: the top row's first 8 pixels (magenta) transparent, the rest opaque.
    const QByteArray topMaskRow = bytes.mid(bytes.size() - 4, 4);
    EXPECT_EQ(topMaskRow, QByteArray::fromHex("ff000000"));

    const QImage icon = ReadBack(bytes);
    ASSERT_FALSE(icon.isNull());
    ASSERT_EQ(icon.size(), QSize(32, 32));
    // Qt takes the mask of the palette depths; at 24 bits it shows the colour bits, black there.
    for (const QPoint transparent : {QPoint(0, 0), QPoint(7, 31)}) {
      const QRgb pixel = icon.pixel(transparent);
      EXPECT_TRUE(c.bits == 24 ? pixel == 0xFF000000 : qAlpha(pixel) == 0) << std::hex << pixel;
    }
    EXPECT_EQ(icon.pixel(8, 0) | 0xFF000000, c.bits == 1 ? 0xFF000000 : 0xFF0000FF);
    EXPECT_EQ(icon.pixel(31, 0) | 0xFF000000, 0xFFFFFF00 | (c.bits == 1 ? 0xFF : 0));
    EXPECT_EQ(icon.pixel(20, 20), c.green);
  }
}

TEST(IconWriter, ReducesToTheNearestStandardColour) {
  const std::span<const QRgb> palette16 = IconPalette(4);
  ASSERT_EQ(palette16.size(), 16u);
  struct Case {
    QRgb color;
    QRgb nearest;
  };
  const Case cases[] = {
      {0xFF900010, 0xFF800000}, {0xFFF01010, 0xFFFF0000}, {0xFFB0B0B0, 0xFFC0C0C0},
      {0xFF707070, 0xFF808080}, {0xFF30E0E0, 0xFF00FFFF}, {0xFFE07000, 0xFF808000},
  };
  for (const Case& c : cases) {
    const int index = NearestColorIndex(c.color, palette16);
    EXPECT_EQ(palette16[static_cast<std::size_t>(index)], c.nearest) << std::hex << c.color;
  }
  EXPECT_EQ(NearestColorIndex(0xFF606060, IconPalette(1)), 0);
  EXPECT_EQ(NearestColorIndex(0xFFA0A0A0, IconPalette(1)), 1);
  EXPECT_EQ(IconPalette(8).size(), 256u);
}

TEST(IconWriter, ReplacesAnOldFileWholeAndReportsFailureAsFailure) {
  TempFolders folders;
  const QString target = TempFolders::writeFile(folders.libraryFolder() + "_AC.ico", QByteArray(5000, 'x'));
  ASSERT_TRUE(ExportPicToIcon(TestPicture(), kMagenta, target, 4));
  EXPECT_EQ(TempFolders::readFile(target), IconFileBytes(TestPicture(), kMagenta, 4));

  EXPECT_FALSE(ExportPicToIcon(TestPicture(), kMagenta, target, 16));  // no such depth: nothing written
  EXPECT_EQ(TempFolders::readFile(target).size(), 766);
  {
    testing_support::ScopedReadOnlyFolder readOnly(folders.libraryFolder());
    EXPECT_FALSE(ExportPicToIcon(TestPicture(), kMagenta, target, 24));
  }
  EXPECT_EQ(TempFolders::readFile(target).size(), 766);
  EXPECT_FALSE(ExportPicToIcon(TestPicture(), kMagenta, folders.libraryFolder() + "missing/_AC.ico", 4));
}

}  // namespace
