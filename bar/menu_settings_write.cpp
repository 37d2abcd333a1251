#include "bar/menu_settings_write.h"

#include "core/language_bas.h"
#include "core/read_ini_bas.h"
#include "core/vars_bas.h"
#include "platform/dialogs/dialogs.h"
#include "platform/ini/ini.h"

namespace {

void WriteLibrarySetting(const QString& section, const QString& key, const QString& value) {
  g_IniValue = value;
  g_IniResult = platform::WriteProfileString(LibrarySettingsFile(), section, key, g_IniValue);
  ReportIfSettingsWriteFailed();
}

}  // namespace

void WriteMenuSetting(const QString& key, const QString& value) {
  WriteLibrarySetting(QStringLiteral("Normal"), key, value);
}

void WriteBarPlaceSetting(const QString& key, const QString& value) {
  WriteLibrarySetting(g_ComputerSection, key, value);
}

void ReportIfSettingsWriteFailed() {
  if (g_IniResult != 0 || g_SettingsWriteFailureTold) return;
  g_SettingsWriteFailureTold = true;
  platform::MsgBox(GetMessageText(QStringLiteral("frmSysMenu"), QStringLiteral("Msg_SettingsWriteFailed"),
                                  QStringLiteral("The settings could not be saved to \"%1\". Your change applies "
                                                 "until the program ends; the file keeps its previous settings."))
                       .arg(LibrarySettingsFile()));
}
