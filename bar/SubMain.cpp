#include "bar/SubMain.h"

#include "bar/SkolvaneBar_open.h"
#include "core/language_bas.h"
#include "core/read_ini_bas.h"
#include "core/system_utils_bas.h"
#include "core/vars_bas.h"
#include "libraries/frmManager.h"
#include "platform/app/folders.h"
#include "platform/dialogs/dialogs.h"
#include "platform/files/safe_read.h"
#include "platform/files/safe_write.h"
#include "platform/ini/ini.h"

#include <QSysInfo>

namespace SubMain {
namespace {

const QString kGlobalSection = QStringLiteral("GLOBAL");

bool IsSet(const QString& value) { return !value.isEmpty() && value != QLatin1String("Error"); }

// Replaces the program folder's library list with the one the installer left in the profile
// folder, as a whole file: a temporary copy is renamed over the old list, so a failure never
// leaves half a list behind.
bool InstallTopicList(QString& reason) {
  const QString source = platform::ProfileFolder() + QStringLiteral("TopicList.ini");
  const QString target = platform::ProgramFolder() + QStringLiteral("TopicList.ini");
  QByteArray content;
  if (platform::ReadRegularFile(source, content, &reason) != platform::ReadStatus::Ok) return false;
  return platform::WriteFileAtomically(target, content, &reason);
}

void RunFirstStartHandOver() {
  WriteDefaultSettings();
  g_IniValue = QString();
  platform::WriteProfileString(InstallerSettingsFile(), kGlobalSection, QStringLiteral("ISNEW"), g_IniValue);
  QString reason;
  if (!InstallTopicList(reason)) {
    // Looking the text up resolves an empty language letter; the start-up chooses the letter
    // itself afterwards, so the lookup must leave it as it was.
    const QString letter = g_UILanguage;
    QString text = GetUIText(QStringLiteral("SubMain"), QStringLiteral("TopicListCopyFailed"));
    g_UILanguage = letter;
    if (text.isEmpty()) text = QStringLiteral("The library list could not be installed:");
    platform::MsgBox(text + QStringLiteral("\n") + platform::ProfileFolder() + QStringLiteral("TopicList.ini\n") +
                     reason);
  }
}

}  // namespace

QString CommandLineFromArguments(const QStringList& arguments) { return arguments.mid(1).join(QLatin1Char(' ')); }

QString LibraryPathFromCommandLine(const QString& commandLine) {
  const QString trimmed = commandLine.trimmed();
  if (trimmed.size() >= 2 && trimmed.startsWith(QLatin1Char('"')) && trimmed.endsWith(QLatin1Char('"')))
    return trimmed.mid(1, trimmed.size() - 2);
  return trimmed;
}

QString ComputerSectionName() {
  QString id = QString::fromLatin1(QSysInfo::machineUniqueId());
  if (id.isEmpty()) id = QSysInfo::machineHostName();
  QString name;
  for (const QChar c : id) {
    if (c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_')) name += c;
  }
  if (name.isEmpty()) name = QStringLiteral("ThisComputer");
  return QStringLiteral("PC_") + name.left(32);
}

bool Main() {
  g_ComputerSection = ComputerSectionName();

  const QString isNew = platform::ReadProfileString(InstallerSettingsFile(), kGlobalSection, QStringLiteral("ISNEW"),
                                                    QStringLiteral("Error"));
  if (IsSet(isNew)) RunFirstStartHandOver();

  if (g_CommandLine.trimmed().isEmpty()) {
    if (g_UILanguage.isEmpty()) {
      const QString language = platform::ReadProfileString(InstallerSettingsFile(), kGlobalSection,
                                                           QStringLiteral("LANGUAGE"), QStringLiteral("Error"));
      if (IsSet(language)) g_UILanguage = language;
    }
    frmManager::instance().show();
    return true;
  }

  g_LibraryPath = LibraryPathFromCommandLine(g_CommandLine);
  g_LibraryFolder = GetFolderPart(g_LibraryPath);
  g_LibraryFileName = GetFileNamePart(g_LibraryPath);
  g_LibraryTitle = g_LibraryFileName;
  return OpenLibraryBar();
}

}  // namespace SubMain
