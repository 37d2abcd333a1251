#pragma once
// Dragging a borderless window by a strip of its own (a title picture): a press asks the window
// manager to move the window, as a title bar would; where the window manager cannot (none is
// running, or it lacks the move request), the window follows the pointer until the button is
// released.

#include <QPoint>
#include <QPointer>
#include <QWidget>

namespace platform {

class WindowDrag {
 public:
  explicit WindowDrag(QWidget& window) : window_(&window) {}

  // Call from the strip's mouse-down, mouse-move and mouse-up handlers.
  void press();
  void move();
  void release() { following_ = false; }

 private:
  QPointer<QWidget> window_;
  bool following_ = false;
  QPoint offset_;  // pointer position minus the window's position at the press
};

}  // namespace platform
