#include "bar/SkolvaneBar_monitors.h"

#include "bar/SkolvaneBar.h"
#include "bar/frmSysMenu.h"
#include "core/language_bas.h"
#include "core/vars_bas.h"
#include "platform/dialogs/dialogs.h"
#include "platform/window/window.h"

bool MonitorEnumProc(std::int32_t hMonitor, const QRect& monitorRect) {
  ++g_MonitorCount;
  const int left = monitorRect.left();
  const int right = monitorRect.left() + monitorRect.width();
  if (left >= 0) g_LastMonitor = QString::number(hMonitor);
  if (left < 0 && g_WindowX < 0 && g_WindowX < left) g_BarOffScreen = true;
  if (left == 0 && g_WindowX > 0 && g_WindowX > right) g_BarOffScreen = true;
  return true;
}

void CheckBarMonitors() {
  g_MonitorCount = 0;
  g_BarOffScreen = false;
  for (const platform::MonitorInfo& monitor : platform::EnumDisplayMonitors()) {
    if (!MonitorEnumProc(monitor.handle, monitor.rect)) break;
  }
  g_BarMonitor = QString::number(platform::MonitorFromWindow(SkolvaneBar::instance()));

  const QString menu = QStringLiteral("frmSysMenu");
  QString key;
  if (g_BarOffScreen) {
    platform::MsgBox(QStringLiteral("out side ") + QString::number(g_MonitorCount) + QStringLiteral(" screens"));
    key = g_MonitorCount > 1 ? QStringLiteral("mnuSysTrayShow_A") : QStringLiteral("mnuSysTrayShow_B");
  } else if (g_BarMonitor == g_LastMonitor) {
    key = g_MonitorCount > 1 ? QStringLiteral("mnuSysTrayShow_C") : QStringLiteral("mnuSysTrayShow_D");
  } else {
    key = QStringLiteral("mnuSysTrayShow_E");
  }
  frmSysMenu::instance().mnuSysTrayShow->setCaption(GetUIText(menu, key));
}
