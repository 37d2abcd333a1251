#pragma once
// The bar's tray icon: puts a form's icon into the notification area with the form's caption as
// the tip, and takes it out again. The icon's mouse messages go to the handler the form gives;
// the form treats them as tray clicks only while the icon is in the tray.

#include "platform/tray/tray_icon.h"

#include <functional>
#include <utility>

namespace platform {
class Form;
}

class SysTrayCls {
 public:
  // The tip holds at most this many bytes of text (UTF-8), never half a character.
  static constexpr int kTipBytes = 63;

  // Whether the icon is in the tray: from a ShowIcon that found a notification area until
  // RemoveIcon. Without one the form has no icon and must offer its menu itself.
  bool bRunningInTray() const { return icon_.inTray(); }

  // Adds the form's icon, with its caption cut to the tip's length as the tip. Later caption
  // changes do not reach the tip. A second call adds again with the same icon.
  void ShowIcon(platform::Form& SysTrayForm);
  // Takes the icon out of the tray and shows the form when it is hidden.
  void RemoveIcon(platform::Form& SysTrayForm);

  // Receives the icon's mouse messages (platform::TrayMouseMessage).
  void setMouseMessageHandler(std::function<void(int message)> handler) { icon_.onMouseMessage = std::move(handler); }

  // The tip a caption gives: its beginning, at most kTipBytes bytes of UTF-8.
  static QString TipText(const QString& caption);

 private:
  platform::TrayIcon icon_;
};

// The learner was told that the session has no notification area.
inline bool g_MissingTrayTold = false;

// Tells the learner, once per run, that the session has no notification area and the bar's own
// right click opens its menu.
void ReportMissingTray();
// Whether ReportMissingTray shows its message (on by default; the unit tests, which run without a
// tray, turn it off except where they check the message). Turning it on lets it be told again.
void SetMissingTrayReporting(bool enabled);
