#include "bar/SysTrayCls.h"

#include "core/language_bas.h"
#include "platform/dialogs/dialogs.h"
#include "platform/forms/form.h"
#include "platform/ini/utf8_text.h"

#include <QByteArray>

QString SysTrayCls::TipText(const QString& caption) {
  const QByteArray utf8 = caption.toUtf8();
  return QString::fromUtf8(utf8.left(platform::ini::Utf8CutLength(utf8, kTipBytes)));
}

void SysTrayCls::ShowIcon(platform::Form& SysTrayForm) {
  icon_.add(SysTrayForm.windowIcon(), TipText(SysTrayForm.caption()));
}

void SysTrayCls::RemoveIcon(platform::Form& SysTrayForm) {
  icon_.remove();
  if (!SysTrayForm.isVisible()) SysTrayForm.show();
}

namespace {

// Whether a missing tray is told at all (tests without a tray host turn it off).
bool& MissingTrayReporting() {
  static bool enabled = true;
  return enabled;
}

}  // namespace

void ReportMissingTray() {
  if (!MissingTrayReporting() || g_MissingTrayTold) return;
  g_MissingTrayTold = true;
  platform::MsgBox(GetMessageText(
      QStringLiteral("SysTrayCls"), QStringLiteral("NoTray"),
      QStringLiteral("This desktop has no notification area, so the word bar has no tray icon. Right-click the word "
                     "bar to open its menu.")));
}

void SetMissingTrayReporting(bool enabled) {
  MissingTrayReporting() = enabled;
  if (enabled) g_MissingTrayTold = false;
}
