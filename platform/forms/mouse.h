#pragma once
// Mouse events as the program's handlers take them: button, shift state, and the point in the
// control's own pixels.

#include <functional>

namespace platform {

enum MouseButton { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };
enum ShiftState { kShiftMask = 1, kCtrlMask = 2, kAltMask = 4 };

using MouseHandler = std::function<void(int button, int shift, double x, double y)>;

struct MouseHandlers {
  MouseHandler onMouseDown;
  MouseHandler onMouseMove;
  MouseHandler onMouseUp;
  std::function<void()> onClick;
  std::function<void()> onDoubleClick;
};


}  // namespace platform
