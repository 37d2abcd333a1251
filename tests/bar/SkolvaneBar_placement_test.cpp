#include "bar/SkolvaneBar_placement.h"

#include <gtest/gtest.h>

namespace {

constexpr int kMinWidth = 88;

struct PlaceCase {
  const char* what;
  BarPlace stored;
  std::optional<BarPlace> expected;  // nothing: the bar stays where it is
};

TEST(BarPlacement, ABarOffEveryScreenComesBackIntoTheNearestAvailableArea) {
  // A 1920 x 1080 screen with a taskbar along its bottom, and a 1280 x 1024 screen to its right.
  const std::vector<platform::ScreenArea> screens{{QRect(0, 0, 1920, 1080), QRect(0, 0, 1920, 1040)},
                                                  {QRect(1920, 0, 1280, 1024), QRect(1920, 0, 1280, 1024)}};
  const std::vector<PlaceCase> cases{
      {"on the first screen", {100, 100, 432, 40}, std::nullopt},
      {"half over the right edge of the second", {3000, 100, 432, 40}, std::nullopt},
      {"far left", {-99999999, 100, 432, 40}, BarPlace{0, 100, 432, 40}},
      {"far above", {100, -99999999, 432, 40}, BarPlace{100, 0, 432, 40}},
      {"over the taskbar: still on the screen", {100, 1050, 432, 40}, std::nullopt},
      {"below the screen", {100, 1100, 432, 40}, BarPlace{100, 1000, 432, 40}},
      {"right of the second screen", {2147483000, 500, 432, 40}, BarPlace{2768, 500, 432, 40}},
      {"no width", {100, 100, -32768, 40}, BarPlace{100, 100, kMinWidth, 40}},
      {"wider than the area it comes back to", {-50000, 100, 30000, 40}, BarPlace{0, 100, 1920, 40}},
      {"taller than the area", {100, -5000, 432, 2000}, BarPlace{100, 0, 432, 2000}},
  };
  for (const PlaceCase& c : cases) {
    SCOPED_TRACE(c.what);
    const std::optional<BarPlace> placed = PlaceOffEveryScreen(c.stored, screens, kMinWidth);
    ASSERT_EQ(placed.has_value(), c.expected.has_value());
    if (!placed) continue;
    EXPECT_EQ(placed->x, c.expected->x);
    EXPECT_EQ(placed->y, c.expected->y);
    EXPECT_EQ(placed->width, c.expected->width);
    EXPECT_EQ(placed->height, c.expected->height);
  }
  EXPECT_FALSE(PlaceOffEveryScreen({-99999999, 0, 432, 40}, {}, kMinWidth)) << "no screen: nothing to do";
}

}  // namespace
