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

#include <QFileInfo>
#include <QSysInfo>

namespace SubMain {
namespace {

const QString kGlobalSection = QStringLiteral("GLOBAL");
const QString kTopicList = QStringLiteral("TopicList.ini");

bool IsSet(const QString& value) { return !value.isEmpty() && value != QLatin1String("Error"); }

// What the start-up could not write, told to the learner in one message once the start-up steps
// are done; the program starts either way.
class StartUpFailures {
 public:
  void add(const QString& file, const QString& reason) {
    lines_ << file + (reason.isEmpty() ? QString() : QStringLiteral(": ") + reason);
  }
  void report() const {
    if (lines_.isEmpty()) return;
    // Looking the text up resolves an empty language letter; the start-up chooses the letter
    // itself afterwards, so the lookup must leave it as it was.
    const QString letter = g_UILanguage;
    const QString text = GetMessageText(QStringLiteral("SubMain"), QStringLiteral("FirstStartWriteFailed"),
                                        QStringLiteral("The first start could not write:"));
    g_UILanguage = letter;
    platform::MsgBox(text + QStringLiteral("\n") + lines_.join(QLatin1Char('\n')));
  }

 private:
  QStringList lines_;
};

// Copies a whole file through the safe write path; false with the reason when it cannot.
bool CopyWholeFile(const QString& source, const QString& target, QString& reason) {
  QByteArray content;
  if (platform::ReadRegularFile(source, content, &reason) != platform::ReadStatus::Ok) {
    if (reason.isEmpty()) reason = source;
    return false;
  }
  return platform::WriteFileAtomically(target, content, &reason);
}

// This platform has no installer: when the profile folder holds no CORVELSETUP.ini, the program
// leaves what an installer would, once per user: the program folder's library list in the
// profile (when the profile has none) and a CORVELSETUP.ini that marks the first start and names
// the interface language of the user's locale. A CORVELSETUP.ini that exists is never touched.
void ActAsInstallerWhenNeverInstalled(StartUpFailures& failures) {
  const QString installerFile = InstallerSettingsFile();
  if (QFileInfo::exists(installerFile)) return;

  const QString profileList = platform::ProfileFolder() + kTopicList;
  const QString shippedList = platform::ProgramFolder() + kTopicList;
  QString reason;
  if (!QFileInfo::exists(profileList) && platform::IsRegularFile(shippedList) &&
      !CopyWholeFile(shippedList, profileList, reason)) {
    failures.add(profileList, reason);
  }

  const QByteArray handOver = "[GLOBAL]\nISNEW=1\nLANGUAGE=" + LanguageLetterOfLocale().toLatin1() + "\n";
  reason.clear();
  if (!platform::WriteFileAtomically(installerFile, handOver, &reason)) failures.add(installerFile, reason);
}

void RunFirstStartHandOver(StartUpFailures& failures) {
  WriteDefaultSettings();
  // Every write goes to the same file: when the last one failed, the defaults are not there.
  if (g_IniResult == 0) failures.add(ProgramSettingsFile(), QString());
  g_IniValue = QString();
  platform::WriteProfileString(InstallerSettingsFile(), kGlobalSection, QStringLiteral("ISNEW"), g_IniValue);
  // Replaces the program folder's library list with the one in the profile folder, as a whole
  // file: a failure never leaves half a list behind.
  QString reason;
  if (!CopyWholeFile(platform::ProfileFolder() + kTopicList, platform::ProgramFolder() + kTopicList, reason))
    failures.add(platform::ProgramFolder() + kTopicList, reason);
}

}  // namespace

QString CommandLineFromArguments(const QStringList& arguments) { return arguments.mid(1).join(QLatin1Char(' ')); }

QString LibraryPathFromCommandLine(const QString& commandLine) {
  const QString trimmed = commandLine.trimmed();
  if (trimmed.size() >= 2 && trimmed.startsWith(QLatin1Char('"')) && trimmed.endsWith(QLatin1Char('"')))
    return trimmed.mid(1, trimmed.size() - 2);
  return trimmed;
}

QString LanguageLetterFromLocale(const QString& lcAll, const QString& lcMessages, const QString& lang) {
  // The first one set decides, as for every program's messages.
  for (const QString& value : {lcAll, lcMessages, lang}) {
    if (value.isEmpty()) continue;
    return value.startsWith(QLatin1String("zh")) ? QStringLiteral("C") : QStringLiteral("A");
  }
  return QStringLiteral("A");
}

QString LanguageLetterOfLocale() {
  return LanguageLetterFromLocale(qEnvironmentVariable("LC_ALL"), qEnvironmentVariable("LC_MESSAGES"),
                                  qEnvironmentVariable("LANG"));
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

  StartUpFailures failures;
  ActAsInstallerWhenNeverInstalled(failures);
  const QString isNew = platform::ReadProfileString(InstallerSettingsFile(), kGlobalSection, QStringLiteral("ISNEW"),
                                                    QStringLiteral("Error"));
  if (IsSet(isNew)) RunFirstStartHandOver(failures);
  failures.report();

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
