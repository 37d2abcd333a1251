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

struct MissingTrayReport {
  bool enabled = true;
  bool told = false;
};

MissingTrayReport& Report() {
  static MissingTrayReport report;
  return report;
}

}  // namespace

void ReportMissingTray() {
  MissingTrayReport& report = Report();
  if (!report.enabled || report.told) return;
  report.told = true;
  platform::MsgBox(GetMessageText(
      QStringLiteral("SysTrayCls"), QStringLiteral("NoTray"),
      QStringLiteral("This desktop has no notification area, so the word bar has no tray icon. Right-click the word "
                     "bar to open its menu.")));
}

void SetMissingTrayReporting(bool enabled) {
  Report().enabled = enabled;
  if (enabled) Report().told = false;
}
