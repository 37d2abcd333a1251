#include "core/bar_fitting_bas.h"

#include "tests/support/bar_drawing_fixture.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

BarRows TwelvePointRows() {
  BarRows rows;
  rows.textHeight = 288;  // a 12-point word row
  return rows;
}

TEST(BarHeight, CountsEachShownRowAndTakesTheMeaningRowsDownToAWholePixel) {
  BarRows rows = TwelvePointRows();
  rows.showPhonetic = true;
  rows.showLongMeaning = true;
  rows.meaningRows = 3;
  rows.statusRows = 1;
  // Meaning rows 432 twips taken down to 420: (420 + 144 + 288) / 15 + 13 = 69.8.
  EXPECT_EQ(BarHeightPixels(rows), 70);

  rows.pictureHeight = 600;
  EXPECT_EQ(BarHeightPixels(rows), 70);  // the picture row counts only while shown
  rows.showPicture = true;
  EXPECT_EQ(BarHeightPixels(rows), 110);
}

TEST(BarHeight, WithEveryOptionalRowOffTheBarIsAsHighAsTheWordRow) {
  BarRows rows = TwelvePointRows();
  EXPECT_EQ(BarHeightPixels(rows), 19);  // 19.2 pixels
  rows.textHeight = 277.5;               // 18.5 pixels: a half goes to the even neighbour
  EXPECT_EQ(BarHeightPixels(rows), 18);
}

TEST(BarHeight, AbsurdRowSettingsGiveTheHighestWindowNotAnOverflow) {
  BarRows rows = TwelvePointRows();
  rows.showLongMeaning = true;
  rows.meaningBarPercent = std::numeric_limits<int>::max();
  rows.meaningRows = 10;
  EXPECT_EQ(BarHeightPixels(rows), 32767);
  rows.meaningBarPercent = std::numeric_limits<int>::min();
  EXPECT_EQ(BarHeightPixels(rows), 0);
}

class FitBar : public testing_support::BarDrawingFixture {};

TEST_F(FitBar, PlacesTheBarAtItsSettingsWithTheFittedHeight) {
  g_WindowX = 40;
  g_WindowY = 50;
  g_WindowW = 300;
  g_ShowPhonetic = true;
  g_StatusRows = 1;
  bar().Pic_ShowText->twips().setHeight(288);
  g_ShowMain = true;
  FitBarToRows();
  EXPECT_TRUE(bar().isVisible());
  EXPECT_EQ(bar().size(), QSize(300, 42));  // (144 + 288) / 15 + 13 = 41.8

  // Switched off, the bar takes its height; without a tray icon (none here) it still shows, as it
  // is the only way to its menu. Hidden with a tray icon: HiddenBarX11.
  bar().hide();
  g_ShowMain = false;
  g_StatusRows = 0;
  FitBarToRows();
  EXPECT_TRUE(bar().isVisible());
  EXPECT_EQ(bar().size(), QSize(300, 29));
}

}  // namespace
