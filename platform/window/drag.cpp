#include "platform/window/drag.h"

#include <QCursor>
#include <QGuiApplication>
#include <QWindow>

namespace platform {

void WindowDrag::start() {
  QWindow* handle = window_.windowHandle();
  if (handle != nullptr && handle->startSystemMove()) {
    following_ = false;
    return;
  }
  following_ = true;
  grabOffset_ = GetCursorPos() - window_.pos();
}

bool WindowDrag::follow() {
  if (QGuiApplication::mouseButtons() == Qt::NoButton) {
    following_ = false;
    return false;
  }
  if (following_) moveToPointer();
  return true;
}

void WindowDrag::finish() {
  if (following_) moveToPointer();
  following_ = false;
}

void WindowDrag::moveToPointer() {
  const QPoint place = GetCursorPos() - grabOffset_;
  if (window_.pos() != place) window_.move(place);
}

QPoint GetCursorPos() { return QCursor::pos(); }

QRect GetWindowRect(const QWidget& window) { return window.frameGeometry(); }

void SetForegroundWindow(QWidget& window) {
  if (!window.isVisible()) return;
  window.raise();
  window.activateWindow();
}

}  // namespace platform
