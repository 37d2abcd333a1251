#include "maintenance/installer_settings.h"

#include "platform/app/folders.h"
#include "platform/ini/ini.h"

namespace installer {

QString SettingsFile() { return platform::ProfileFolder() + QStringLiteral("CORVELSETUP.ini"); }

QString ReadLanguage() {
  return platform::ReadProfileString(SettingsFile(), QStringLiteral("GLOBAL"), QStringLiteral("LANGUAGE"),
                                     QStringLiteral("Error"));
}

bool IsChinese(const QString& letter) { return letter == QStringLiteral("C"); }

}  // namespace installer
