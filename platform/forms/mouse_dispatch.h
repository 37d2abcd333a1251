#pragma once
// Turns Qt mouse events into the program's mouse handler calls.

#include "platform/forms/mouse.h"

#include <QMouseEvent>

namespace platform {

int ButtonOf(const QMouseEvent& event);
int ShiftOf(const QMouseEvent& event);

// Calls the matching handler of `handlers` for a Qt mouse event; returns whether one ran.
void DispatchMouseDown(const MouseHandlers& handlers, const QMouseEvent& event);
void DispatchMouseMove(const MouseHandlers& handlers, const QMouseEvent& event);
void DispatchMouseUp(const MouseHandlers& handlers, const QMouseEvent& event, bool inside);
void DispatchDoubleClick(const MouseHandlers& handlers);

}  // namespace platform
