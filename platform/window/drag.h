#pragma once
// Moving a borderless window with the mouse, and the pointer and window places the move reads:
// the window manager's own move loop where it offers one; where it refuses, or no window manager
// runs, the window follows the pointer itself until the buttons are released.

#include <QPoint>
#include <QRect>
#include <QWidget>

namespace platform {

class WindowDrag {
 public:
  explicit WindowDrag(QWidget& window) : window_(window) {}

  // Starts moving the window under the button being pressed now.
  void start();
  // One step of the move: a window that follows the pointer itself is put where the pointer now
  // is. Returns whether the move goes on (a button is still held).
  bool follow();
  // Ends a move the window follows itself, at the pointer's last place (the window manager ends
  // its own).
  void finish();
  // Whether the window follows the pointer itself at the moment.
  bool following() const { return following_; }

 private:
  void moveToPointer();

  QWidget& window_;
  bool following_ = false;
  QPoint grabOffset_;  // pointer minus window position at the press
};

// The pointer's position, screen pixels.
QPoint GetCursorPos();
// The window's frame on the screen, pixels, as the window system now has it.
QRect GetWindowRect(const QWidget& window);
// Puts a shown window in front and gives it the focus (a hidden one stays hidden).
void SetForegroundWindow(QWidget& window);

}  // namespace platform
