#include "bar/SkolvaneBar_placement.h"

#include "bar/SkolvaneBar.h"
#include "core/bar_fitting_bas.h"
#include "core/vars_bas.h"
#include "platform/forms/twips.h"
#include "platform/window/screen_areas.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

bool Overlaps(const BarPlace& bar, const QRect& area) {
  return bar.width > 0 && bar.height > 0 && bar.x < std::int64_t{area.left()} + area.width() &&
         bar.x + bar.width > area.left() && bar.y < std::int64_t{area.top()} + area.height() &&
         bar.y + bar.height > area.top();
}

// Distance from the bar's centre to the area, squared, in double: stored values can be far out.
double DistanceSquared(const BarPlace& bar, const QRect& area) {
  const double cx = static_cast<double>(bar.x) + static_cast<double>(bar.width) / 2;
  const double cy = static_cast<double>(bar.y) + static_cast<double>(bar.height) / 2;
  const double dx = cx < area.left() ? area.left() - cx : cx > area.right() ? cx - area.right() : 0;
  const double dy = cy < area.top() ? area.top() - cy : cy > area.bottom() ? cy - area.bottom() : 0;
  return dx * dx + dy * dy;
}

std::int64_t KeepWithin(std::int64_t value, std::int64_t low, std::int64_t high) {
  return std::max(low, std::min(value, high));
}

}  // namespace

std::optional<BarPlace> PlaceOffEveryScreen(const BarPlace& bar, const std::vector<platform::ScreenArea>& screens,
                                            int minWidth) {
  if (screens.empty()) return std::nullopt;
  const auto shows = [&](const platform::ScreenArea& s) { return Overlaps(bar, s.screen); };
  if (std::any_of(screens.begin(), screens.end(), shows)) return std::nullopt;
  const auto nearer = [&](const platform::ScreenArea& a, const platform::ScreenArea& b) {
    return DistanceSquared(bar, a.screen) < DistanceSquared(bar, b.screen);
  };
  const QRect& area = std::min_element(screens.begin(), screens.end(), nearer)->available;
  BarPlace placed = bar;
  placed.width = KeepWithin(bar.width, std::min(minWidth, area.width()), area.width());
  placed.x = KeepWithin(bar.x, area.left(), std::int64_t{area.left()} + area.width() - placed.width);
  placed.y = std::max<std::int64_t>(
      std::min<std::int64_t>(bar.y, std::int64_t{area.top()} + area.height() - bar.height), area.top());
  return placed;
}

void KeepBarOnScreen() {
  SkolvaneBar& bar = SkolvaneBar::instance();
  // The narrowest bar the layout allows: the status row's three fixed boxes.
  const double fixedTwips = bar.logo[0]->twips().width() + bar.Pic_SegNo->twips().width() +
                            bar.Lbl_Counter->twips().width();
  const int minWidth = static_cast<int>(std::lround(fixedTwips / platform::kTwipsPerPixel));
  const BarPlace stored{g_WindowX, g_WindowY, g_WindowW, BarHeightPixels(CurrentBarRows())};
  const std::optional<BarPlace> placed = PlaceOffEveryScreen(stored, platform::ScreenAreas(), minWidth);
  if (!placed) return;
  g_WindowX = static_cast<std::int32_t>(placed->x);
  g_WindowY = static_cast<std::int32_t>(placed->y);
  g_ColorSampleX = g_WindowX;
  g_ColorSampleY = g_WindowY;
  if (placed->width != g_WindowW) {
    g_WindowW = static_cast<std::int16_t>(std::min<std::int64_t>(placed->width, std::numeric_limits<std::int16_t>::max()));
    bar.AdjustObjects();
  }
}
