#include "platform/window/window.h"

#include "platform/window/kept_above.h"

#include <QGuiApplication>
#include <QScreen>

#include <limits>

namespace platform {
namespace {

// Handles start above zero so that 0 can mean "no monitor".
constexpr std::int32_t kFirstHandle = 0x10001;

std::int32_t HandleOf(int index) { return kFirstHandle + index; }

// Squared distance from a point to a rectangle (0 inside it).
qint64 DistanceSquared(const QRect& rect, const QPoint& point) {
  const qint64 dx = point.x() < rect.left() ? rect.left() - point.x()
                    : point.x() > rect.right() ? point.x() - rect.right() : 0;
  const qint64 dy = point.y() < rect.top() ? rect.top() - point.y()
                    : point.y() > rect.bottom() ? point.y() - rect.bottom() : 0;
  return dx * dx + dy * dy;
}

}  // namespace

void MakeTopmostToolWindow(QWidget& window) {
  window.setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
  WatchWindowsOpenedOver(window);
}

void SetWindowPosTopmost(QWidget& window, int x, int y, int width, int height, bool show) {
  window.setGeometry(x, y, width < 1 ? 1 : width, height < 1 ? 1 : height);
  if (show) window.show();
  if (!window.isVisible()) return;
  window.raise();
  RaiseWindowsKeptAbove();  // a dialog opened over the bar stays over it
}

std::vector<MonitorInfo> EnumDisplayMonitors() {
  std::vector<MonitorInfo> monitors;
  const auto screens = QGuiApplication::screens();
  for (int i = 0; i < screens.size(); ++i) monitors.push_back({HandleOf(i), screens[i]->geometry()});
  return monitors;
}

std::int32_t MonitorFromWindow(const QWidget& window) {
  const QPoint centre = window.frameGeometry().center();
  std::int32_t nearest = 0;
  qint64 best = std::numeric_limits<qint64>::max();
  for (const MonitorInfo& monitor : EnumDisplayMonitors()) {
    const qint64 distance = DistanceSquared(monitor.rect, centre);
    if (distance < best) {
      best = distance;
      nearest = monitor.handle;
    }
  }
  return nearest;
}

}  // namespace platform
