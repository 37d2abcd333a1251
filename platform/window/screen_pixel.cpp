#include "platform/window/screen_pixel.h"

#include "platform/forms/win_color.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

namespace platform {

std::int32_t GetPixel(int x, int y) {
  const QPoint point(x, y);
  QScreen* screen = QGuiApplication::screenAt(point);
  if (screen == nullptr) return kInvalidColor;
  // The screen's own grab takes coordinates relative to its top-left corner.
  const QPoint local = point - screen->geometry().topLeft();
  const QImage pixel = screen->grabWindow(0, local.x(), local.y(), 1, 1).toImage();
  if (pixel.isNull() || pixel.width() < 1 || pixel.height() < 1) return kInvalidColor;
  return ToWinColor(pixel.pixelColor(0, 0));
}

}  // namespace platform
