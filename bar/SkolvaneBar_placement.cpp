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

}  // namespace

std::optional<BarPlace> PlaceOffEveryScreen(const BarPlace& bar, const std::vector<platform::ScreenArea>& screens,
                                            int minWidth) {
  if (screens.empty()) return std::nullopt;
  const auto shows = [&](const platform::ScreenArea& s) { return Overlaps(bar, s.screen); };
  if (std::any_of(screens.begin(), screens.end(), shows)) return std::nullopt;
  const QRect& area = ScreenOfBar(bar, screens)->available;
  BarPlace placed = bar;
  placed.width = std::clamp<std::int64_t>(bar.width, std::min(minWidth, area.width()), area.width());
  return MoveInsideArea(placed, area);
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
