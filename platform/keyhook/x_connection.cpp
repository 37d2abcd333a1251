#include "platform/keyhook/x_connection.h"

#include <algorithm>
#include <vector>

namespace platform::keyhook_x11 {

namespace {

// The innermost trap in force; Xlib's error handler is one per process, so traps nest.
thread_local ErrorTrap* g_currentTrap = nullptr;

// Displays whose loss is survived, and the process-wide I/O error handler that was in place
// before the first guard (it handles every other display).
std::vector<Display*> g_guardedDisplays;
XIOErrorHandler g_previousIoHandler = nullptr;
bool g_ioHandlerInstalled = false;

int HandleIoError(Display* display) {
  const bool guarded = std::ranges::find(g_guardedDisplays, display) != g_guardedDisplays.end();
  if (!guarded && g_previousIoHandler != nullptr) return g_previousIoHandler(display);
  return 0;  // Xlib goes on to the display's exit handler, which marks the hook's connection lost
}

}  // namespace

ErrorTrap::ErrorTrap(Display* display)
    : display_(display), previous_(XSetErrorHandler(&ErrorTrap::Handle)), outer_(g_currentTrap) {
  g_currentTrap = this;
}

ErrorTrap::~ErrorTrap() {
  finish();
  g_currentTrap = outer_;
  XSetErrorHandler(previous_);
}

bool ErrorTrap::finish() {
  XSync(display_, False);
  return errorCount_ == 0;
}

int ErrorTrap::Handle(Display* display, XErrorEvent* error) {
  for (ErrorTrap* trap = g_currentTrap; trap != nullptr; trap = trap->outer_) {
    if (trap->display_ == display) {
      ++trap->errorCount_;
      return 0;
    }
  }
  // Not one of ours: the handler that was in place before the outermost trap decides.
  ErrorTrap* outermost = g_currentTrap;
  while (outermost != nullptr && outermost->outer_ != nullptr) outermost = outermost->outer_;
  if (outermost != nullptr && outermost->previous_ != nullptr) return outermost->previous_(display, error);
  return 0;
}

ConnectionLossGuard::ConnectionLossGuard(Display* display, bool* lost) : display_(display) {
  if (!g_ioHandlerInstalled) {
    g_previousIoHandler = XSetIOErrorHandler(&HandleIoError);
    g_ioHandlerInstalled = true;
  }
  g_guardedDisplays.push_back(display);
  XSetIOErrorExitHandler(
      display, [](Display*, void* flag) { *static_cast<bool*>(flag) = true; }, lost);
}

ConnectionLossGuard::~ConnectionLossGuard() {
  std::erase(g_guardedDisplays, display_);
}

}  // namespace platform::keyhook_x11
