#include "platform/window/system_move.h"

#include <QWidget>
#include <QWindow>

namespace platform {

void WindowDrag::begin(QWidget& window, const QPoint& globalPos) {
  QWindow* handle = window.windowHandle();
  following_ = handle == nullptr || !handle->startSystemMove();
  grabOffset_ = globalPos - window.pos();
}

void WindowDrag::follow(QWidget& window, const QPoint& globalPos) {
  if (following_) window.move(globalPos - grabOffset_);
}

}  // namespace platform
