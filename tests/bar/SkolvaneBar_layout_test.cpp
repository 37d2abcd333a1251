#include "bar/SkolvaneBar.h"

#include "core/bar_fitting_bas.h"
#include "core/vars_bas.h"
#include "platform/ini/ini.h"
#include "tests/support/bar_drawing_fixture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class BarLayout : public testing_support::BarDrawingFixture {
 protected:
  platform::TwipsGeometry& text() { return bar().Pic_ShowText->twips(); }
  static bool Shown(const QWidget* widget) { return !widget->isHidden(); }
};

TEST_F(BarLayout, PlainWordRowFillsTheWidthAtTheTop) {
  g_ShowPhonetic = false;
  bar().AdjustObjects();
  EXPECT_DOUBLE_EQ(text().left(), 0);
  EXPECT_DOUBLE_EQ(text().top(), 0);
  EXPECT_DOUBLE_EQ(text().width(), 432 * 15);
  EXPECT_DOUBLE_EQ(text().height(), 288);
  EXPECT_FALSE(Shown(bar().Pic_ShowPhonetic));
  EXPECT_FALSE(Shown(bar().Pic_ShowLongMeaning));
  EXPECT_DOUBLE_EQ(bar().logo[0]->twips().top(), 288);
  EXPECT_DOUBLE_EQ(bar().Lbl_SysInfo->twips().left(), bar().logo[0]->twips().width());
  EXPECT_DOUBLE_EQ(bar().Lbl_SysInfo->twips().width(), 432 * 15 - bar().logo[0]->twips().width());
}

TEST_F(BarLayout, TooNarrowABarKeepsTheRowsBelowThePicture) {
  // The status row's fixed boxes need (600 + 240 + 480) / 15 = 88 pixels.
  const double needed = bar().Pic_SegNo->twips().width() + bar().logo[0]->twips().width() +
                        bar().Lbl_Counter->twips().width();
  g_WindowW = static_cast<std::int16_t>(needed / 15 - 1);
  g_ShowPicture = true;
  g_ShowStatus = true;
  text().move(11, 22, 33, 44);
  bar().AdjustObjects();
  EXPECT_TRUE(Shown(bar().Pic_ShowPicture));
  EXPECT_EQ(g_StatusRows, 1);
  EXPECT_DOUBLE_EQ(text().left(), 11);
  EXPECT_DOUBLE_EQ(text().width(), 33);
  EXPECT_DOUBLE_EQ(text().height(), 44);

  g_WindowW = static_cast<std::int16_t>(needed / 15);
  bar().AdjustObjects();
  EXPECT_DOUBLE_EQ(text().width(), needed);
}

TEST_F(BarLayout, PhoneticRowPushesTheWordRowDownAndTheIconsFollowIt) {
  g_Wait = g_ShowHour = g_ShowProgress = true;
  bar().AdjustObjects();
  const auto& phonetic = bar().Pic_ShowPhonetic->twips();
  EXPECT_TRUE(Shown(bar().Pic_ShowPhonetic));
  EXPECT_DOUBLE_EQ(phonetic.top(), 0);
  EXPECT_DOUBLE_EQ(phonetic.height(), 144);
  EXPECT_DOUBLE_EQ(phonetic.width(), 432 * 15);
  EXPECT_DOUBLE_EQ(text().top(), 144);

  // Centred on the word row (144 + (288 - 240) / 2), 10 twips higher.
  const auto& hourglass = bar().Pic_Hourglass->twips();
  EXPECT_TRUE(Shown(bar().Pic_Hourglass));
  EXPECT_DOUBLE_EQ(hourglass.top(), 144 + (288 - hourglass.height()) / 2 - 10);
  for (platform::PictureBox* speak : bar().Pic_Speak) EXPECT_DOUBLE_EQ(speak->twips().top(), hourglass.top());

  const auto& percent = bar().Pic_percent->twips();
  EXPECT_DOUBLE_EQ(percent.top(), 144);
  EXPECT_DOUBLE_EQ(percent.left(), 432 * 15 - percent.width());
  EXPECT_DOUBLE_EQ(hourglass.left(), percent.left() - hourglass.width());

  g_Wait = false;
  bar().AdjustObjects();
  EXPECT_FALSE(Shown(bar().Pic_Hourglass));
}

TEST_F(BarLayout, ResizeHandleNarrowsTheWordRowAndTheSoundIconsKeepClearOfIt) {
  g_ShowResize = true;
  bar().AdjustObjects();
  EXPECT_DOUBLE_EQ(text().width(), 432 * 15 - 90);
  for (platform::PictureBox* speak : bar().Pic_Speak) {
    EXPECT_DOUBLE_EQ(speak->twips().left() + speak->twips().width(), text().width() - 90);
  }
}

TEST_F(BarLayout, MeaningRowsAtHalfSizeAndTheStatusRowOnAWholePixel) {
  g_ShowLongMeaning = true;
  g_MeaningRows = 3;
  bar().AdjustObjects();
  const auto& meaning = bar().Pic_ShowLongMeaning->twips();
  EXPECT_TRUE(Shown(bar().Pic_ShowLongMeaning));
  EXPECT_DOUBLE_EQ(meaning.height(), 432);  // 0.5 x 1.2 x 3 x 240
  EXPECT_DOUBLE_EQ(meaning.top(), 144 + 288);
  // 144 + 288 + 432 = 864 twips = 57.6 pixels, taken down to 57.
  const double status = bar().logo[0]->twips().top();
  EXPECT_DOUBLE_EQ(status, 855);
  EXPECT_DOUBLE_EQ(bar().Lbl_SysInfo->twips().top(), status);
  EXPECT_DOUBLE_EQ(bar().Lbl_Counter->twips().top(), status);
}

// A count below one from a hand-edited settings file lays out, fits and draws one row.
TEST_F(BarLayout, MeaningRowCountBelowOneGivesOneRow) {
  g_ShowLongMeaning = true;
  for (const std::int16_t rows : {std::int16_t{0}, std::int16_t{-2}}) {
    SCOPED_TRACE(rows);
    g_MeaningRows = rows;
    bar().AdjustObjects();
    EXPECT_DOUBLE_EQ(bar().Pic_ShowLongMeaning->twips().height(), 144);  // 0.5 x 1.2 x 240
    EXPECT_DOUBLE_EQ(bar().logo[0]->twips().top(), 570);  // 144 + 288 + 144 = 38.4 pixels, taken down
    FitBarToRows();
    EXPECT_EQ(bar().height(), 38);  // (144 + 144 + 288) / 15 = 38.4
  }
}

TEST_F(BarLayout, SegmentNumberOnlyInSegmentModeLeftOfTheCounter) {
  g_ShowSegNo = g_ShowCounter = true;
  bar().AdjustObjects();
  EXPECT_FALSE(Shown(bar().Pic_SegNo));

  g_DoSegment = true;
  bar().AdjustObjects();
  const auto& counter = bar().Lbl_Counter->twips();
  EXPECT_TRUE(Shown(bar().Pic_SegNo));
  EXPECT_DOUBLE_EQ(counter.left(), 432 * 15 - counter.width());
  EXPECT_DOUBLE_EQ(bar().Pic_SegNo->twips().left(), counter.left() - bar().Pic_SegNo->twips().width());

  g_ShowCounter = false;
  bar().AdjustObjects();
  EXPECT_DOUBLE_EQ(bar().Pic_SegNo->twips().left(), 432 * 15 - bar().Pic_SegNo->twips().width());
}

TEST_F(BarLayout, ProgressStripBelowTheStatusRowShowsThePosition) {
  g_ShowProgress = true;
  g_CyclePos = 7;
  bar().AdjustObjects();
  EXPECT_TRUE(Shown(bar().Pic_Pos));
  EXPECT_DOUBLE_EQ(bar().Pic_percent->twips().height(), 288);
  EXPECT_DOUBLE_EQ(bar().Pic_Pos->twips().top(), bar().Lbl_SysInfo->twips().top() + 288 + 15);
  EXPECT_EQ(bar().Pic_Pos->toolTip(), "0007");
}

class FontChoice : public BarLayout {
 protected:
  QString storedFont() {
    return platform::ReadProfileString(folders().libraryFolder() + "Words.ini", "Normal", "WordFont", "Error");
  }
};

TEST_F(FontChoice, StoresTheChosenFontAndRefitsTheBar) {
  g_ShowStatus = true;
  QFont chosen("DejaVu Serif");
  chosen.setPointSizeF(10.5);
  chosen.setBold(true);
  dialogs().fontReply = chosen;

  bar().font_adjust();

  EXPECT_EQ(storedFont(), "DejaVu Serif;0:10.5");
  EXPECT_EQ(g_FontSpec, "DejaVu Serif;0:10.5");
  EXPECT_NE(g_IniResult, 0);
  const QFont word = bar().Pic_ShowText->font();
  EXPECT_EQ(word.family(), "DejaVu Serif");
  EXPECT_TRUE(word.bold());
  EXPECT_EQ(g_TextBoxHeight, 252);  // 1.2 x 210 twips
  EXPECT_DOUBLE_EQ(bar().Pic_ShowText->twips().height(), 252);
  EXPECT_DOUBLE_EQ(bar().Pic_ShowPhonetic->font().pointSizeF(), 5.25);
  EXPECT_DOUBLE_EQ(bar().Pic_ShowPhonetic->twips().height(), 126);
  EXPECT_DOUBLE_EQ(bar().Pic_ShowLongMeaning->font().pointSizeF(), 5.25);
  EXPECT_DOUBLE_EQ(bar().Pic_ShowText->twips().top(), 126);  // laid out again
  EXPECT_EQ(g_StatusRows, 1);
  EXPECT_EQ(bar().height(), BarHeightPixels(CurrentBarRows()));
  EXPECT_EQ(bar().height(), 38);  // (126 + 252) / 15 + 13 = 38.2
}

TEST_F(FontChoice, SizesOutsideTheDialogsRangeAreBroughtIntoIt) {
  QFont chosen("DejaVu Sans");
  chosen.setPointSizeF(200);
  dialogs().fontReply = chosen;
  bar().font_adjust();
  EXPECT_EQ(g_FontSpec, "DejaVu Sans;0:72");
}

TEST_F(FontChoice, CancellingChangesNothing) {
  const QFont before = bar().Pic_ShowText->font();
  const QSize barSize = bar().size();
  g_FontSpec = "SimSun;0:9";
  dialogs().fontReply.reset();

  bar().font_adjust();

  EXPECT_EQ(bar().Pic_ShowText->font(), before);
  EXPECT_EQ(bar().size(), barSize);
  EXPECT_EQ(g_FontSpec, "SimSun;0:9");
  EXPECT_EQ(g_TextBoxHeight, 288);
  EXPECT_EQ(storedFont(), "Error");
}

}  // namespace
