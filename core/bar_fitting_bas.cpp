#include "core/bar_fitting_bas.h"

#include "bar/SkolvaneBar.h"
#include "core/row_heights_bas.h"
#include "core/vars_bas.h"
#include "platform/forms/twips.h"
#include "platform/window/window.h"

#include <algorithm>
#include <cmath>

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
  SkolvaneBar& bar = SkolvaneBar::instance();
  platform::SetWindowPosTopmost(bar, g_WindowX, g_WindowY, g_WindowW, BarHeightPixels(CurrentBarRows()),
                                bar.VisibleBySettings());
}

void FitBarInPlaceAndStart() {
  g_StatusRows = g_ShowStatus ? 1 : 0;
  if (!SkolvaneBar::loaded()) return;
  SkolvaneBar& bar = SkolvaneBar::instance();
  platform::SetWindowPosTopmost(bar, bar.x(), bar.y(), g_WindowW, BarHeightPixels(CurrentBarRows()),
                                bar.VisibleBySettings());
  bar.Tim_Wait->setEnabled(true);
}
