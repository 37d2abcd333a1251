#pragma once
// Dragging a borderless window by a part of its own: the window manager moves the window while
// the button is held, as it does for a title bar. Where no window manager takes the move (none
// runs, or the platform has none), the window follows the pointer itself until the button is
// released.

#include <QPoint>

class QWidget;

namespace platform {

class WindowDrag {
 public:
  // A button went down on the drag part at `globalPos`: hands the move to the window manager,
  // or remembers the point for following the pointer.
  void begin(QWidget& window, const QPoint& globalPos);
  // The pointer moved to `globalPos` with the button held: moves the window when we follow.
  void follow(QWidget& window, const QPoint& globalPos);
  // The button was released.
  void end() { following_ = false; }

 private:
  bool following_ = false;
  QPoint grabOffset_;  // pointer position minus the window's top-left corner
};

}  // namespace platform
