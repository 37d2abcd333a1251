#include "platform/wordcapture/pointer_buttons.h"

#include <QGuiApplication>

// Xlib last: its macros clash with Qt's names.
#include <X11/Xlib.h>

namespace platform {

std::optional<bool> PointerButtonsHeld() {
  const auto* x11 = qGuiApp == nullptr ? nullptr : qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  Display* display = x11 == nullptr ? nullptr : x11->display();
  if (display == nullptr) return std::nullopt;
  Window root = 0;
  Window child = 0;
  int rootX = 0;
  int rootY = 0;
  int windowX = 0;
  int windowY = 0;
  unsigned int mask = 0;
  // The answer comes from the server, so it covers buttons held over any program's windows.
  // The buttons' state is told even when the pointer is on another screen.
  XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &windowX, &windowY, &mask);
  // The wheel's buttons (4 and 5) are never held for longer than a notch.
  return (mask & (Button1Mask | Button2Mask | Button3Mask)) != 0;
}

}  // namespace platform
