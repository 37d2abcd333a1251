#include "platform/tray/tray_icon.h"

#include <QApplication>
#include <QPointer>
#include <QStyle>

namespace platform {

std::vector<int> TrayMouseMessagesFor(QSystemTrayIcon::ActivationReason reason) {
  switch (reason) {
    case QSystemTrayIcon::Trigger:
      return {kTrayLeftButtonDown, kTrayLeftButtonUp};
    case QSystemTrayIcon::DoubleClick:
      return {kTrayLeftButtonDoubleClick, kTrayLeftButtonUp};
    case QSystemTrayIcon::Context:
      return {kTrayRightButtonDown, kTrayRightButtonUp};
    case QSystemTrayIcon::MiddleClick:
      return {kTrayMiddleButtonDown, kTrayMiddleButtonUp};
    case QSystemTrayIcon::Unknown:
      break;
  }
  return {};
}

TrayIcon::TrayIcon(QObject* parent) : QObject(parent) {
  // Queued: the tray reports a click from inside its own mouse handler; a handler of ours that
  // opens a menu runs once that has returned.
  connect(&icon_, &QSystemTrayIcon::activated, this, &TrayIcon::deliver, Qt::QueuedConnection);
}

TrayIcon::~TrayIcon() { remove(); }

bool TrayIcon::HostAvailable() { return QSystemTrayIcon::isSystemTrayAvailable(); }

bool TrayIcon::add(const QIcon& icon, const QString& tip) {
  QIcon shown = icon;
  if (shown.isNull()) shown = QApplication::style()->standardIcon(QStyle::SP_DesktopIcon);
  icon_.setIcon(shown);
  QString text = tip;
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  icon_.setToolTip(text);
  inTray_ = HostAvailable();
  // Without a notification area the icon is not shown at all: Qt would dock it by itself once a
  // tray starts later, while its owner already works without it.
  if (inTray_) icon_.show();
  return inTray_;
}

void TrayIcon::remove() {
  icon_.hide();
  inTray_ = false;
}

void TrayIcon::deliver(QSystemTrayIcon::ActivationReason reason) {
  QPointer<TrayIcon> self(this);
  for (const int message : TrayMouseMessagesFor(reason)) {
    // A handler may run a menu's own event loop, in which its owner can be unloaded.
    if (!self || !onMouseMessage) return;
    const auto handler = onMouseMessage;  // a copy: the handler may unload the icon's owner
    handler(message);
  }
}

}  // namespace platform
