#include "libraries/ComboBoxEx.h"

#include "libraries/mdlExportPicToIcon.h"
#include "platform/app/folders.h"
#include "platform/forms/picture_box.h"
#include "tests/support/read_only_folder.h"
#include "tests/support/temp_folders.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileInfo>
#include <QImageReader>
#include <QKeyEvent>

namespace {

using testing_support::TempFolders;

constexpr QRgb kGround = 0xFFFF00FF;  // the flags' corner colour
constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kBlue = 0xFF0000FF;

QImage Flag(QRgb color) {
  QImage flag(32, 32, QImage::Format_RGB32);
  flag.fill(color);
  flag.setPixel(0, 0, kGround);
  return flag;
}

QRgb IconPixel(const QIcon& icon, int x, int y) { return icon.pixmap(16, 16).toImage().pixel(x, y); }

class ComboBoxExTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetProgramFolder(folders.programFolder());
    qputenv("XDG_CACHE_HOME", (folders.profileFolder() + "cache").toUtf8());
    FlagPictures pictures;
    pictures.categories[0] = Flag(kRed);   // A
    pictures.categories[2] = Flag(kBlue);  // C
    pictures.mix = mix;
    mix->resize(32, 32);
    combo.setParent(&parent, pictures);
    combo.Create(0, 0, 270, 170);
    combo.onSelChange = [this] { ++choices; };
  }
  void TearDown() override {
    platform::SetProgramFolder({});
    qunsetenv("XDG_CACHE_HOME");
  }

  int add(const QString& text, int index, ComboItemKind kind = ComboItemKind::Library) {
    int image = 0;
    combo.Additems(text, index, image, kind);
    return image;
  }
  void refill() {
    combo.Clear();
    combo.ClearCounter();
  }

  TempFolders folders;
  QWidget parent;
  platform::PictureBox* mix = new platform::PictureBox(&parent);  // owned by parent
  ComboBoxEx combo;
  int choices = 0;
};

TEST_F(ComboBoxExTest, ComposesAMissingFlagOnceAndLoadsItOnLaterFills) {
  EXPECT_EQ(add("AC:Words", 0), 0);
  EXPECT_EQ(add("AC:More", 1), 0);  // the same key shares its image
  const QString bitmap = folders.programFolder() + "_AC.bmp";
  const QString icon = folders.programFolder() + "_AC.ico";
  ASSERT_TRUE(QFileInfo::exists(bitmap));
  ASSERT_TRUE(QFileInfo::exists(icon));

  // Upper-left triangle from the first letter's flag, lower-right from the second's.
  const QImage composed(bitmap);
  EXPECT_EQ(composed.pixel(31, 0), kRed);
  EXPECT_EQ(composed.pixel(0, 31), kRed);
  EXPECT_EQ(composed.pixel(1, 31), kBlue);
  EXPECT_EQ(composed.pixel(31, 31), kBlue);
  const QImage stored = QImageReader(icon).read();
  EXPECT_EQ(qAlpha(stored.pixel(0, 0)), 0);  // the corner colour is transparent
  EXPECT_EQ(stored.pixel(5, 5), kRed);
  EXPECT_EQ(combo.images().GetImageCount(), 1);

  // A stored icon is loaded as it is: nothing is composed again.
  QImage green(32, 32, QImage::Format_RGB32);
  green.fill(0xFF00FF00);
  ASSERT_TRUE(ExportPicToIcon(green, kGround, icon, 4));
  QFile::remove(bitmap);
  refill();
  EXPECT_EQ(add("AC:Words", 0), 0);
  EXPECT_FALSE(QFileInfo::exists(bitmap));
  EXPECT_EQ(IconPixel(combo.images().icon(0), 8, 8), 0xFF00FF00);
}

TEST_F(ComboBoxExTest, KeysWithoutPicturesGetAnEmptyImageAndTheItemsAfterThemKeepTheirs) {
  EXPECT_EQ(add("ZC:Unknown letter", 0), 0);
  EXPECT_EQ(add("(O.Looks like a command", 1), 1);
  EXPECT_EQ(add("(O.Add", 2, ComboItemKind::AddCommand), 2);  // no _XO.ico in this folder
  EXPECT_EQ(add("AC:Words", 3), 3);
  EXPECT_EQ(qAlpha(IconPixel(combo.images().icon(0), 8, 8)), 0);
  EXPECT_EQ(IconPixel(combo.images().icon(3), 12, 2), kRed);
  EXPECT_EQ(combo.KindOf(1), ComboItemKind::Library);
  EXPECT_EQ(combo.KindOf(2), ComboItemKind::AddCommand);

  // The cache holds 100 keys; the 101st new key gets the image it just added.
  refill();
  for (int i = 0; i < 100; ++i) EXPECT_EQ(add(QString(QChar(0x4E00 + i)) + "Z:x", i), i);
  EXPECT_EQ(add("AC:Words", 100), 100);
  EXPECT_EQ(add("AC:Again", 101), 101);
  EXPECT_EQ(combo.images().GetImageCount(), 102);
}

TEST_F(ComboBoxExTest, TextFormAndOnlyTheLearnersChoiceIsReported) {
  for (int i = 0; i < 13; ++i) add(QStringLiteral("AC:Library%1").arg(i), i);
  EXPECT_EQ(combo.GetText(), "[-1]");  // a fill selects nothing
  combo.SetIndex(2);
  EXPECT_EQ(combo.GetText(), "[ 2]AC:Library2");
  combo.SetIndex(12);
  EXPECT_EQ(combo.GetText(), "[ 12]AC:Library12");
  combo.RemoveItem(12);
  combo.ReBuild(12);
  EXPECT_EQ(combo.GetText(), "[ 0]AC:Library0");
  EXPECT_EQ(combo.GetString(12), "");
  EXPECT_EQ(choices, 0);

  QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
  QApplication::sendEvent(combo.widget(), &down);
  EXPECT_EQ(choices, 1);
  EXPECT_EQ(combo.GetText(), "[ 1]AC:Library1");

  refill();
  EXPECT_EQ(combo.GetText(), "[-1]");
  EXPECT_EQ(combo.ListCount(), 0);
  EXPECT_EQ(choices, 1);
}

TEST_F(ComboBoxExTest, ReadOnlyProgramFolderKeepsComposedFlagsInTheCacheFolder) {
  {
    testing_support::ScopedReadOnlyFolder readOnly(folders.programFolder());
    add("CA:Words", 0);
  }
  EXPECT_FALSE(QFileInfo::exists(folders.programFolder() + "_CA.ico"));
  const QString cached = platform::UserCacheFolder() + "_CA.ico";
  ASSERT_TRUE(QFileInfo::exists(cached));
  EXPECT_EQ(IconPixel(combo.images().icon(0), 12, 2), kBlue);

  refill();
  QFile::remove(platform::UserCacheFolder() + "_CA.bmp");
  add("CA:Words", 0);  // found in the cache folder: not composed again
  EXPECT_FALSE(QFileInfo::exists(platform::UserCacheFolder() + "_CA.bmp"));
}

}  // namespace
