#pragma once
// A window's place on the screen as the X server has it: the client area, without the frame a
// window manager may put around it.

#include <QRect>
#include <QString>

#include <optional>

namespace testing_support {

// The geometry of `window` (an X window id) on `display` (":N"); nullopt when the server does not
// know the window.
std::optional<QRect> WindowGeometry(const QString& display, const QString& window);

}  // namespace testing_support
