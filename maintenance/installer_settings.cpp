#include "maintenance/installer_settings.h"

#include "platform/app/folders.h"
#include "platform/ini/ini.h"

QString InstallerSettingsFile() { return platform::ProfileFolder() + QStringLiteral("CORVELSETUP.ini"); }

QString ReadInstallerLanguage() {
  return platform::ReadProfileString(InstallerSettingsFile(), QStringLiteral("GLOBAL"), QStringLiteral("LANGUAGE"),
                                     QStringLiteral("Error"));
}

bool IsChineseLanguage(const QString& letter) { return letter == QStringLiteral("C"); }
