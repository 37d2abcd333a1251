#pragma once
// The part of each screen a window may use: the screen less the panels and docks the desktop
// reserves, in virtual-screen pixels.

#include <QRect>

#include <vector>

namespace platform {

// One rectangle per screen, in the order the system lists the screens; empty without screens.
std::vector<QRect> AvailableScreenAreas();

}  // namespace platform
