#include "platform/window/paint_now.h"

#include <QGuiApplication>

// Xlib last: its macros clash with Qt's names.
#include <X11/Xlib.h>

namespace platform {

void PaintNow(QWidget& widget) {
  if (!widget.isVisible()) return;
  widget.repaint();
  // The picture sits in the connection's output buffer until something flushes it; send it to
  // the X server now, so the screen shows it even while the thread then sleeps.
  const auto* x11 = qGuiApp == nullptr ? nullptr : qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 != nullptr && x11->display() != nullptr) XFlush(x11->display());
}

}  // namespace platform
