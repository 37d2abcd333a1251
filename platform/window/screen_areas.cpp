#include "platform/window/screen_areas.h"

#include <QGuiApplication>
#include <QScreen>

namespace platform {

std::vector<ScreenArea> ScreenAreas() {
  std::vector<ScreenArea> areas;
  for (const QScreen* screen : QGuiApplication::screens()) areas.push_back({screen->geometry(), screen->availableGeometry()});
  return areas;
}

}  // namespace platform
