// The bar's tray icon and tray clicks: the icon shows the bar's caption as its tip, and a release
// of the right button on it opens the tray menu at the pointer. Without a notification area the
// bar stays on screen and its own right click opens the same menu.
#include "bar/SkolvaneBar.h"

#include "bar/frmSysMenu.h"
#include "platform/app/folders.h"
#include "platform/files/picture_file.h"
#include "platform/tray/tray_icon.h"

#include <QIcon>
#include <QPixmap>
#include <QTimer>

void SkolvaneBar::ShowTrayIcon() {
  const QImage icon = platform::ReadPictureFile(platform::ProgramFolder() + QStringLiteral("SkolvaneBar.png"));
  setWindowIcon(QIcon(QPixmap::fromImage(icon)));
  SysTray.setMouseMessageHandler([this](int message) { SysTray_MouseMessage(message); });
  SysTray.ShowIcon(*this);
  if (SysTray.bRunningInTray()) return;
  show();
  // Told once the load has finished, so the bar is up and stepping behind the message.
  QTimer::singleShot(0, this, [] { ReportMissingTray(); });
}

void SkolvaneBar::SysTray_MouseMessage(int message) {
  if (!SysTray.bRunningInTray()) return;
  if (message == platform::kTrayRightButtonUp) PopTrayMenu();
}

void SkolvaneBar::PopTrayMenu() {
  platform::SetForegroundWindow(*this);
  frmSysMenu::instance().mnuSysTray->popup(platform::GetCursorPos());
}
