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

TEST(FitInsideScreen, MovesABarThatReachesPastAnEdgeInJustEnough) {
  // A 1600 x 900 screen with a panel along its bottom, and a 1280 x 1024 screen to its right.
  const std::vector<platform::ScreenArea> screens{{QRect(0, 0, 1600, 900), QRect(0, 0, 1600, 876)},
                                                  {QRect(1600, 0, 1280, 1024), QRect(1600, 0, 1280, 1024)}};
  struct Case {
    const char* what;
    BarPlace asked;
    BarPlace shown;
  };
  const Case cases[] = {
      {"wholly inside", {100, 100, 432, 45}, {100, 100, 432, 45}},
      {"a taller bar at the place meant for a short one", {1120, 855, 432, 119}, {1120, 757, 432, 119}},
      {"over the panel", {100, 860, 432, 20}, {100, 856, 432, 20}},
      {"past the left and top edges", {-30, -8, 432, 45}, {0, 0, 432, 45}},
      {"mostly on the second screen, past its right edge", {2700, 500, 432, 45}, {2448, 500, 432, 45}},
      {"more on the first screen than the second", {1300, 300, 432, 45}, {1168, 300, 432, 45}},
      {"taller than the area: the top edge wins", {100, 500, 432, 2000}, {100, 0, 432, 2000}},
      {"off every screen: into the nearest", {100, 5000, 432, 45}, {100, 831, 432, 45}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const BarPlace shown = FitInsideScreen(c.asked, screens);
    EXPECT_EQ(shown.x, c.shown.x);
    EXPECT_EQ(shown.y, c.shown.y);
    EXPECT_EQ(shown.width, c.shown.width);
    EXPECT_EQ(shown.height, c.shown.height);
  }
  EXPECT_EQ(FitInsideScreen({5, 5000, 10, 10}, {}).y, 5000) << "no screen: nothing to fit into";
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
