#pragma once
// Bringing a bar back that its stored place would put where no one can see it. A settings file
// edited by hand, or one brought from a computer with other screens, can hold any place and width
// (WindowX=-99999999, WindowW=-32768); a bar there could never be reached or dragged back.

#include "core/bar_fitting_bas.h"
#include "platform/window/screen_areas.h"

#include <optional>
#include <vector>

// Nothing when the bar shows on one of the screens (it overlaps it, with a real size; a bar under a
// panel counts, it is the learner's place). Otherwise the place inside the available area of the
// screen nearest to the bar, all four edges within it: the width kept between minWidth and the
// area's width, the height as it is (taller than the area: the top edge wins).
std::optional<BarPlace> PlaceOffEveryScreen(const BarPlace& bar, const std::vector<platform::ScreenArea>& screens,
                                            int minWidth);

// At the bar's start: when g_WindowX, g_WindowY and g_WindowW with the fitted height put the bar
// off every screen, moves them (and the colour sample point) into the nearest screen's available
// area and lays the bar out again. The settings file keeps its values until the bar is moved.
void KeepBarOnScreen();
