#include "core/window_effects_bas.h"

#include "bar/SkolvaneBar.h"

#include <cmath>

namespace {

void SetBarAlpha(int alpha) { SkolvaneBar::instance().setWindowOpacity(alpha / 255.0); }

}  // namespace

void MakeBarOpaque() { SetBarAlpha(255); }
void MakeBarTranslucent() { SetBarAlpha(100); }
int BarAlpha() { return static_cast<int>(std::lround(SkolvaneBar::instance().windowOpacity() * 255)); }
