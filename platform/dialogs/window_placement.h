#pragma once
// Where the program's windows open, as a desktop would put them when no window manager does:
// a main window centred on the screen's available area (the screen less its panels, as the
// system reports it), a message centred over the window it belongs to. Placing a window before it
// is first shown also asks a window manager for that place.

#include <QPoint>
#include <QRect>
#include <QWidget>

namespace platform {

// The available area of the screen the pointer is on (the primary screen when none is), in
// virtual-screen pixels; empty without screens.
QRect AvailableAreaUnderPointer();

// The top-left corner that centres a window of `size` over `owner` (a frame in screen pixels),
// kept inside `area` as far as the window fits in it (its top-left corner first).
QPoint CentredPlace(const QSize& size, const QRect& owner, const QRect& area);

// Moves `window` to the middle of AvailableAreaUnderPointer().
void CentreOnScreen(QWidget& window);

// Moves `window` to the middle of `owner`'s frame, inside the available area of owner's screen;
// without an owner, to the middle of the screen.
void CentreOver(QWidget& window, const QWidget* owner);

// The window a message that names none belongs to: the modal window open now, else the active
// window, else the one window of the program on screen (pop-up menus, tool tips and windows docked
// into the tray do not count); nullptr when that leaves no window or several.
QWidget* WindowOfNewMessage();

}  // namespace platform
