#pragma once
// Window services of the word bar: a borderless tool window kept on top of all others, its
// placement, and the machine's monitors.

#include <QRect>
#include <QWidget>

#include <cstdint>
#include <vector>

namespace platform {

// Makes `window` a borderless tool window that stays on top of all others and takes no taskbar
// entry; windows opened while it is shown open above it (kept_above.h). Call before the window is
// first shown.
void MakeTopmostToolWindow(QWidget& window);

// Places the window at (x, y) with the given size in pixels, raised on top (below the windows
// opened over it); shows it when `show` is set.
void SetWindowPosTopmost(QWidget& window, int x, int y, int width, int height, bool show);

struct MonitorInfo {
  std::int32_t handle;  // stable for the run: the same screen keeps its handle
  QRect rect;           // virtual-screen pixels
};

// The machine's monitors in the order the system lists them (the primary one included).
std::vector<MonitorInfo> EnumDisplayMonitors();
// The handle of the monitor nearest to the window's frame (0 when there is no screen).
std::int32_t MonitorFromWindow(const QWidget& window);

}  // namespace platform
