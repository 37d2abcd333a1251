#include "core/word_pictures_bas.h"

#include "bar/SkolvaneBar.h"
#include "bar/frmSysMenu.h"
#include "core/vars_bas.h"
#include "core/window_effects_bas.h"
#include "platform/forms/win_color.h"
#include "platform/ini/ini.h"
#include "tests/support/bar_drawing_fixture.h"

#include <gtest/gtest.h>

#include <QImage>

#include <vector>

namespace {

TEST(WordPictureName, BlanksAreFoldedAndHostileNamesGetNoPicture) {
  const struct {
    QString word;
    std::optional<QString> file;
  } cases[] = {
      {"  apple  pie ", "apple pie.jpg"},
      {"big   cat", "big.jpg"},  // three blanks leave two, and the name is cut there
      {"big    cat", "big.jpg"},  // four leave two as well
      {"cat", "cat.jpg"},
      {"..", std::nullopt},
      {".", std::nullopt},
      {"   ", std::nullopt},
      {"../secret", std::nullopt},
      {"a/b", std::nullopt},
      {"a\\b", std::nullopt},
      {QString("a") + QChar(u'\0') + "b", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.word.toStdString());
    EXPECT_EQ(WordPictureFileName(c.word), c.file);
  }
}

TEST(CoverRow, ThePicturesPixelsAtFifteenTwipsPlusTwoPixels) {
  EXPECT_EQ(CoverRowTwips(200), 3030);  // 5292 hundredths of a millimetre at 96 dots per inch
}

TEST(ColourFollow, TextContrastsWithTheSampledColour) {
  const struct {
    std::int32_t sample;
    std::optional<QColor> text;
  } cases[] = {
      {0x7F7F7F, QColor(0, 0, 0)},         // mid grey gives black
      {90 << 16 | 200 << 8 | 126, QColor(255, 0, 255)},
      {0, QColor(255, 255, 255)},
      {-1, std::nullopt},                   // nothing read: the colours stay
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sample);
    const std::optional<SampleColours> colours = ColoursForSample(c.sample);
    ASSERT_EQ(colours.has_value(), c.text.has_value());
    if (colours) {
      EXPECT_EQ(colours->back, platform::FromWinColor(c.sample));
      EXPECT_EQ(colours->text, *c.text);
    }
  }
}

// The bar's picture row for the library "Words.abc" of the fixture, with its folder "Words.JPG".
class PictureRow : public testing_support::BarDrawingFixture {
 protected:
  void SetUp() override {
    BarDrawingFixture::SetUp();
    g_ShowPicture = true;
    frmSysMenu::instance().mnuSysTrayShowPicture->setEnabled(true);
  }
  void TearDown() override {
    frmSysMenu::unload();
    BarDrawingFixture::TearDown();
  }

  QString pictureFolder() const { return folders().libraryFolder() + "Words.JPG/"; }

  void writePicture(const QString& name, QColor colour, int height) const {
    QImage picture(200, height, QImage::Format_RGB32);
    picture.fill(colour);
    testing_support::TempFolders::writeFile(pictureFolder() + name, {});
    ASSERT_TRUE(picture.save(pictureFolder() + name, "JPG", 95));
  }

  QColor rowPixel() { return bar().Pic_ShowPicture->image().pixelColor(10, 10); }
};

bool Near(const QColor& a, const QColor& b) {
  return std::abs(a.red() - b.red()) < 12 && std::abs(a.green() - b.green()) < 12 && std::abs(a.blue() - b.blue()) < 12;
}

TEST_F(PictureRow, CoverThenWordPicturesAndTheCoverForWordsWithout) {
  writePicture("00.Cover.jpg", Qt::blue, 40);
  writePicture("apple pie.jpg", Qt::red, 40);
  testing_support::TempFolders::writeFile(pictureFolder() + "broken.jpg", "not a picture");

  bar().AdjustObjects();
  EXPECT_EQ(bar().Pic_ShowPicture->twips().height(), CoverRowTwips(40));
  EXPECT_TRUE(Near(rowPixel(), Qt::blue));

  FindWordPicture("apple  pie");
  EXPECT_TRUE(Near(rowPixel(), Qt::red));
  FindWordPicture("broken");  // unreadable: the cover again, no earlier word's picture
  EXPECT_TRUE(Near(rowPixel(), Qt::blue));
  FindWordPicture("apple pie");
  FindWordPicture("../Words.JPG/apple pie");
  EXPECT_TRUE(Near(rowPixel(), Qt::blue));
  EXPECT_TRUE(g_ShowPicture);
}

TEST_F(PictureRow, TheWordStepFindsAWordWrittenWithTwoBlanksUnlessItsRowAlsoHoldsTheMeaning) {
  writePicture("00.Cover.jpg", Qt::blue, 40);
  writePicture("apple pie.jpg", Qt::red, 40);
  writePicture("apple.jpg", Qt::green, 40);
  bar().AdjustObjects();
  g_ShowPhonetic = false;
  g_SoundMode = "0";
  // The rows the cycle makes of the line "apple  pie@n. pie" in each learn mode.
  const struct {
    int learnMode;
    std::vector<QString> rows;
    QColor picture;
  } cases[] = {
      {0, {"apple  pie"}, Qt::red},
      {1, {"apple  pie  n. pie"}, Qt::green},  // cut at the two blanks before the meaning
      {2, {"apple  pie  ", "> n. pie"}, Qt::red},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.learnMode);
    g_LearnMode = static_cast<std::int16_t>(c.learnMode);
    g_CycleTable.clear();
    for (const QString& row : c.rows) g_CycleTable.push_back({row, "0", ""});
    g_CycleCount = g_CycleLast = static_cast<std::int16_t>(c.rows.size());
    g_CycleFirst = g_CyclePos = 1;
    FindWordPicture("none");  // the cover
    bar().runtimer();
    EXPECT_TRUE(Near(rowPixel(), c.picture)) << rowPixel().name().toStdString();
  }
}

TEST_F(PictureRow, ALibraryWithoutCoverSwitchesThePictureRowOff) {
  platform::WriteProfileString(folders().libraryFolder() + "Words.ini", "Normal", "WordShowPicture", "X");
  EXPECT_EQ(ShowLibraryCover(), 0);
  EXPECT_FALSE(g_ShowPicture);
  const frmSysMenu& menu = frmSysMenu::instance();
  EXPECT_FALSE(menu.mnuSysTrayShowPicture->checked());
  EXPECT_FALSE(menu.mnuSysTrayShowPicture->enabled());
  EXPECT_EQ(platform::ReadProfileString(folders().libraryFolder() + "Words.ini", "Normal", "WordShowPicture", "Error"),
            "");

  // A word without a picture in a library without cover: an empty row.
  writePicture("cat.jpg", Qt::red, 40);
  bar().Pic_ShowPicture->twips().move(0, 0, 3000, 600);
  FindWordPicture("cat");
  EXPECT_TRUE(Near(rowPixel(), Qt::red));
  FindWordPicture("dog");
  EXPECT_EQ(rowPixel(), bar().Pic_ShowPicture->backColor());
}

}  // namespace
