#include "platform/window/screen_areas.h"

#include <QGuiApplication>
#include <QScreen>

namespace platform {

std::vector<QRect> AvailableScreenAreas() {
  std::vector<QRect> areas;
  for (const QScreen* screen : QGuiApplication::screens()) areas.push_back(screen->availableGeometry());
  return areas;
}

}  // namespace platform
