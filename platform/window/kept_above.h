#pragma once
// Windows that open while one of the program's topmost windows (the word bar) is on screen: they
// must not open behind it. A window shown then (a dialog, a message, a chart, the game) is made a
// window of that topmost window (transient for it, so a window manager keeps it above it), raised
// and given the keyboard focus, with or without a window manager; while it is shown, raising a
// topmost window raises it again above that one. Once no topmost window is on screen any more,
// such windows open as windows of their own again. Pop-up menus and tool tips are left alone.

#include <QWidget>

namespace platform {

// Marks `window` as one of the program's topmost windows and starts watching the windows that
// open over it (once per run; later calls only mark).
void WatchWindowsOpenedOver(QWidget& topmostWindow);

// Raises the windows kept above the topmost ones, after a topmost window was raised.
void RaiseWindowsKeptAbove();

}  // namespace platform
