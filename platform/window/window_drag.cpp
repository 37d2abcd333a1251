#include "platform/window/window_drag.h"

#include <QCursor>
#include <QWindow>

namespace platform {

void WindowDrag::press() {
  following_ = false;
  if (!window_) return;
  QWindow* handle = window_->windowHandle();
  if (handle != nullptr && handle->startSystemMove()) return;
  following_ = true;
  offset_ = QCursor::pos() - window_->pos();
}

void WindowDrag::move() {
  if (following_ && window_) window_->move(QCursor::pos() - offset_);
}

}  // namespace platform
