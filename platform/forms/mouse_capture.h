#pragma once
// Mouse capture as the program's handlers expect it: while a control holds the capture, every
// move of the pointer over its window, and the move that leaves the window, reaches that control
// as a mouse move in its own coordinates, so it sees the pointer go wherever it goes.
//
// Built from Qt's enter, leave and move events of the window, and from a look at the pointer a
// few times a second for what no event tells (a modal window blocking the control's window, a
// window opening over it and closing again): a pointer that went elsewhere is always reported.
// A pointer over another window in front of the control's window is not on the control. The
// pointer itself is never grabbed, so other programs keep their clicks while the capture is held.

#include <QWidget>

namespace platform {

// Gives the capture to `control` (taking it from whichever control held it).
void SetCapture(QWidget& control);
// Ends the capture, if any control holds it.
void ReleaseCapture();
// The control that holds the capture, or nullptr.
QWidget* GetCapture();

}  // namespace platform
