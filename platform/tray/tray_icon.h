#pragma once
// A tray icon in the desktop's notification area, as the program's windows use one: added with
// an icon and a tip, taken out again, and reporting what the mouse does on it as the mouse-message
// numbers the windows' handlers test (513 left button down, 517 right button up ...).
//
// Backed by QSystemTrayIcon (the XEmbed tray of X11 desktops, or a StatusNotifier host). The icon
// reports its clicks through its own signal only, after the click's event has been handled, so a
// handler may open a menu or a window at once.

#include <QIcon>
#include <QObject>
#include <QString>
#include <QSystemTrayIcon>

#include <functional>
#include <vector>

namespace platform {

// The mouse messages a tray icon reports.
enum TrayMouseMessage : int {
  kTrayMouseMove = 512,
  kTrayLeftButtonDown = 513,
  kTrayLeftButtonUp = 514,
  kTrayLeftButtonDoubleClick = 515,
  kTrayRightButtonDown = 516,
  kTrayRightButtonUp = 517,
  kTrayRightButtonDoubleClick = 518,
  kTrayMiddleButtonDown = 519,
  kTrayMiddleButtonUp = 520,
  kTrayMiddleButtonDoubleClick = 521,
};

// The messages one activation of the icon stands for, in the order a click produces them: a
// click is a press and a release, a double click ends with the double-click message and a release.
std::vector<int> TrayMouseMessagesFor(QSystemTrayIcon::ActivationReason reason);

class TrayIcon : public QObject {
  Q_OBJECT

 public:
  explicit TrayIcon(QObject* parent = nullptr);
  ~TrayIcon() override;

  // Whether a notification area runs in this session (an icon added now would appear).
  static bool HostAvailable();

  // Puts the icon into the notification area with the tip (a CR LF in it is a line break); an icon
  // without a picture shows the desktop's generic one. Adding again replaces picture and tip.
  // Returns whether the icon is in the tray: false when the session has no notification area.
  bool add(const QIcon& icon, const QString& tip);
  // Takes the icon out of the tray (nothing when it is not there).
  void remove();
  bool inTray() const { return inTray_; }

  // Receives each mouse message of the icon (see TrayMouseMessage).
  std::function<void(int message)> onMouseMessage;

 private:
  void deliver(QSystemTrayIcon::ActivationReason reason);

  QSystemTrayIcon icon_;
  bool inTray_ = false;
};

}  // namespace platform
