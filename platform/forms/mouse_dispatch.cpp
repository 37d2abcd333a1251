#include "platform/forms/mouse_dispatch.h"

namespace platform {

int ButtonOf(const QMouseEvent& event) {
  Qt::MouseButtons buttons = event.button();
  if (buttons == Qt::NoButton) buttons = event.buttons();
  int result = 0;
  if (buttons & Qt::LeftButton) result |= kLeftButton;
  if (buttons & Qt::RightButton) result |= kRightButton;
  if (buttons & Qt::MiddleButton) result |= kMiddleButton;
  return result;
}

int ShiftOf(const QMouseEvent& event) {
  int result = 0;
  const auto modifiers = event.modifiers();
  if (modifiers & Qt::ShiftModifier) result |= kShiftMask;
  if (modifiers & Qt::ControlModifier) result |= kCtrlMask;
  if (modifiers & Qt::AltModifier) result |= kAltMask;
  return result;
}

void DispatchMouseDown(const MouseHandlers& handlers, const QMouseEvent& event) {
  if (handlers.onMouseDown)
    handlers.onMouseDown(ButtonOf(event), ShiftOf(event), event.position().x(), event.position().y());
}

void DispatchMouseMove(const MouseHandlers& handlers, const QMouseEvent& event) {
  if (handlers.onMouseMove)
    handlers.onMouseMove(ButtonOf(event), ShiftOf(event), event.position().x(), event.position().y());
}

void DispatchMouseUp(const MouseHandlers& handlers, const QMouseEvent& event, bool inside) {
  if (handlers.onMouseUp)
    handlers.onMouseUp(ButtonOf(event), ShiftOf(event), event.position().x(), event.position().y());
  if (inside && event.button() == Qt::LeftButton && handlers.onClick) handlers.onClick();
}

void DispatchDoubleClick(const MouseHandlers& handlers) {
  if (handlers.onDoubleClick) handlers.onDoubleClick();
}

}  // namespace platform
