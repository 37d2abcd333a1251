#pragma once
// Xlib plumbing of the keyboard hook: an owned display connection, a scoped trap for protocol
// errors, and a guard against Xlib ending the process when the connection is lost. Only the
// hook's own sources include this header (Xlib defines macros that clash with Qt's names).

#include <X11/Xlib.h>

#include <memory>

namespace platform::keyhook_x11 {

struct DisplayCloser {
  void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

// Collects the protocol errors that requests on one display cause while the trap lives, instead
// of Xlib's default handler, which ends the process. finish() waits for the server's answers and
// tells whether any request failed. Errors of other displays go to the handler that was in place.
class ErrorTrap {
 public:
  explicit ErrorTrap(Display* display);
  ~ErrorTrap();
  ErrorTrap(const ErrorTrap&) = delete;
  ErrorTrap& operator=(const ErrorTrap&) = delete;

  // Syncs with the server; true when no request made since the trap was set failed.
  bool finish();

 private:
  static int Handle(Display* display, XErrorEvent* error);

  Display* display_;
  XErrorHandler previous_;
  ErrorTrap* outer_;
  int errorCount_ = 0;
};

// While it lives, a lost connection to display (the X server went away) sets *lost instead of
// ending the process, as Xlib does by default. Xlib then treats the display as dead. Other
// displays keep the handler that was in place.
class ConnectionLossGuard {
 public:
  ConnectionLossGuard(Display* display, bool* lost);
  ~ConnectionLossGuard();
  ConnectionLossGuard(const ConnectionLossGuard&) = delete;
  ConnectionLossGuard& operator=(const ConnectionLossGuard&) = delete;

 private:
  Display* display_;
};

}  // namespace platform::keyhook_x11
