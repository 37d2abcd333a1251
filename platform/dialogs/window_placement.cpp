#include "platform/dialogs/window_placement.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace platform {
namespace {

// One coordinate: centred on the owner, then pushed inside the area where it fits.
int CentredCoordinate(int length, int ownerStart, int ownerLength, int areaStart, int areaLength) {
  int start = ownerStart + (ownerLength - length) / 2;
  if (areaLength <= 0) return start;
  start = std::min(start, areaStart + areaLength - length);
  return std::max(start, areaStart);
}

bool IsWindowOfItsOwn(const QWidget& widget) {
  if (!widget.isWindow() || !widget.isVisible()) return false;
  if (widget.windowFlags().testFlag(Qt::BypassWindowManagerHint)) return false;  // docked into the tray
  const Qt::WindowType type = widget.windowType();
  return type == Qt::Window || type == Qt::Dialog || type == Qt::Tool || type == Qt::Sheet;
}

QRect AvailableAreaOf(const QWidget& window) {
  const QScreen* screen = window.screen();
  return screen != nullptr ? screen->availableGeometry() : AvailableAreaUnderPointer();
}

}  // namespace

QRect AvailableAreaUnderPointer() {
  const QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry() : QRect();
}

QPoint CentredPlace(const QSize& size, const QRect& owner, const QRect& area) {
  return {CentredCoordinate(size.width(), owner.x(), owner.width(), area.x(), area.width()),
          CentredCoordinate(size.height(), owner.y(), owner.height(), area.y(), area.height())};
}

void CentreOnScreen(QWidget& window) {
  const QRect area = AvailableAreaUnderPointer();
  if (area.isEmpty()) return;
  window.move(CentredPlace(window.frameGeometry().size(), area, area));
}

void CentreOver(QWidget& window, const QWidget* owner) {
  if (owner == nullptr || !owner->isVisible()) {
    CentreOnScreen(window);
    return;
  }
  const QWidget& ownerWindow = *owner->window();
  window.move(CentredPlace(window.frameGeometry().size(), ownerWindow.frameGeometry(), AvailableAreaOf(ownerWindow)));
}

QWidget* WindowOfNewMessage() {
  if (QWidget* modal = QApplication::activeModalWidget(); modal != nullptr && modal->isVisible()) return modal;
  if (QWidget* active = QApplication::activeWindow(); active != nullptr && IsWindowOfItsOwn(*active)) return active;
  QWidget* found = nullptr;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (!IsWindowOfItsOwn(*widget)) continue;
    if (found != nullptr) return nullptr;
    found = widget;
  }
  return found;
}

}  // namespace platform
