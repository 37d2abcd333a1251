#include "core/bar_fitting_bas.h"

#include "bar/SkolvaneBar.h"
#include "core/row_heights_bas.h"
#include "core/vars_bas.h"
#include "platform/forms/twips.h"
#include "platform/window/screen_areas.h"
#include "platform/window/window.h"

#include <algorithm>
#include <cmath>

namespace {

std::int64_t OverlapArea(const BarPlace& bar, const QRect& area) {
  const std::int64_t left = std::max<std::int64_t>(bar.x, area.left());
  const std::int64_t right = std::min<std::int64_t>(bar.x + bar.width, std::int64_t{area.left()} + area.width());
  const std::int64_t top = std::max<std::int64_t>(bar.y, area.top());
  const std::int64_t bottom = std::min<std::int64_t>(bar.y + bar.height, std::int64_t{area.top()} + area.height());
  return right > left && bottom > top ? (right - left) * (bottom - top) : 0;
}

// Distance from the bar's centre to the area, squared, in double: stored values can be far out.
double DistanceSquared(const BarPlace& bar, const QRect& area) {
  const double cx = static_cast<double>(bar.x) + static_cast<double>(bar.width) / 2;
  const double cy = static_cast<double>(bar.y) + static_cast<double>(bar.height) / 2;
  const double dx = cx < area.left() ? area.left() - cx : cx > area.right() ? cx - area.right() : 0;
  const double dy = cy < area.top() ? area.top() - cy : cy > area.bottom() ? cy - area.bottom() : 0;
  return dx * dx + dy * dy;
}

// The edge of a bar of this extent moved into [low, low + room): the low edge wins when it does
// not fit.
std::int64_t MoveInside(std::int64_t edge, std::int64_t extent, std::int64_t low, std::int64_t room) {
  return std::max(low, std::min(edge, low + room - extent));
}

}  // namespace

const platform::ScreenArea* ScreenOfBar(const BarPlace& bar, const std::vector<platform::ScreenArea>& screens) {
  const platform::ScreenArea* best = nullptr;
  std::int64_t bestOverlap = 0;
  for (const platform::ScreenArea& screen : screens) {
    const std::int64_t overlap = OverlapArea(bar, screen.screen);
    if (overlap > bestOverlap) {
      best = &screen;
      bestOverlap = overlap;
    }
  }
  if (best != nullptr || screens.empty()) return best;
  return &*std::min_element(screens.begin(), screens.end(), [&](const auto& a, const auto& b) {
    return DistanceSquared(bar, a.screen) < DistanceSquared(bar, b.screen);
  });
}

BarPlace MoveInsideArea(const BarPlace& bar, const QRect& area) {
  BarPlace placed = bar;
  placed.x = MoveInside(bar.x, bar.width, area.left(), area.width());
  placed.y = MoveInside(bar.y, bar.height, area.top(), area.height());
  return placed;
}

BarPlace FitInsideScreen(const BarPlace& bar, const std::vector<platform::ScreenArea>& screens) {
  const platform::ScreenArea* screen = ScreenOfBar(bar, screens);
  return screen == nullptr ? bar : MoveInsideArea(bar, screen->available);
}

void PlaceBarWindow(std::int64_t x, std::int64_t y, int width, int height, bool show) {
  const BarPlace shown = FitInsideScreen({x, y, std::max(width, 1), std::max(height, 1)}, platform::ScreenAreas());
  g_ColorSampleX = static_cast<std::int32_t>(shown.x);
  g_ColorSampleY = static_cast<std::int32_t>(shown.y);
  platform::SetWindowPosTopmost(SkolvaneBar::instance(), static_cast<int>(shown.x), static_cast<int>(shown.y), width,
                                height, show);
}

void FitBarInPlace() {
  const SkolvaneBar& bar = SkolvaneBar::instance();
  PlaceBarWindow(bar.x(), bar.y(), g_WindowW, BarHeightPixels(CurrentBarRows()), true);
}

int BarHeightPixels(const BarRows& rows) {
  constexpr double kTwipsPerPixel = platform::kTwipsPerPixel;
  const double text = rows.textHeight;
  const double phonetic = rows.showPhonetic ? text / 2 : 0;
  double meaning = 0;
  if (rows.showLongMeaning) {
    meaning = static_cast<double>(rows.meaningBarPercent) * text * rows.meaningRows / 100;
    meaning = std::floor(meaning / kTwipsPerPixel) * kTwipsPerPixel;
  }
  const double picture = rows.showPicture ? rows.pictureHeight : 0;
  const double pixels = (meaning + phonetic + picture + text) / kTwipsPerPixel + kStatusRowPixels * rows.statusRows;
  // Hand-edited row settings can ask for any height; a window is never higher than the window
  // system allows, nor below nothing.
  return static_cast<int>(std::nearbyint(std::clamp(pixels, 0.0, kMaxBarPixels)));
}

BarRows CurrentBarRows() {
  const SkolvaneBar& bar = SkolvaneBar::instance();
  BarRows rows;
  rows.textHeight = bar.Pic_ShowText->twips().height();
  rows.pictureHeight = bar.Pic_ShowPicture->twips().height();
  rows.showPhonetic = g_ShowPhonetic;
  rows.showLongMeaning = g_ShowLongMeaning;
  rows.showPicture = g_ShowPicture;
  rows.meaningBarPercent = g_MeaningBarPercent;
  rows.meaningRows = MeaningRowCount();
  rows.statusRows = g_StatusRows;
  return rows;
}

void FitBarToRows() {
  // With the bar switched off (WordShowMain) it takes its new height hidden, unless there is no
  // tray icon: the bar is then the only way to its menu.
  const SkolvaneBar& bar = SkolvaneBar::instance();
  PlaceBarWindow(g_WindowX, g_WindowY, g_WindowW, BarHeightPixels(CurrentBarRows()), bar.VisibleBySettings());
}

void FitBarInPlaceAndStart() {
  g_StatusRows = g_ShowStatus ? 1 : 0;
  if (!SkolvaneBar::loaded()) return;
  SkolvaneBar& bar = SkolvaneBar::instance();
  PlaceBarWindow(bar.x(), bar.y(), g_WindowW, BarHeightPixels(CurrentBarRows()), bar.VisibleBySettings());
  bar.Tim_Wait->setEnabled(true);
}
