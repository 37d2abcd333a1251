#pragma once
// The machine's screens with the part of each a window may use: the screen less the panels and
// docks the desktop reserves, in virtual-screen pixels.

#include <QRect>

#include <vector>

namespace platform {

struct ScreenArea {
  QRect screen;     // the whole screen
  QRect available;  // the screen less reserved panels
};

// One entry per screen, in the order the system lists the screens; empty without screens.
std::vector<ScreenArea> ScreenAreas();

}  // namespace platform
