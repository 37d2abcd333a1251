#pragma once
// Dragging a borderless window by a part of it: a mouse press there hands the move to the window
// manager, which then moves the window with the mouse as if its title bar had been pressed.

#include <QWidget>

namespace platform {

// Starts moving the top-level window of `widget` with the mouse; call from a mouse-press handler.
void StartWindowDrag(QWidget& widget);

}  // namespace platform
