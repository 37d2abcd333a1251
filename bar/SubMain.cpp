#include "bar/SubMain.h"

#include "bar/SkolvaneBar_open.h"
#include "bar/SubMain_library_list.h"
#include "core/language_bas.h"
#include "core/read_ini_bas.h"
#include "core/system_utils_bas.h"
#include "core/vars_bas.h"
#include "libraries/frmManager.h"
#include "platform/app/folders.h"
#include "platform/dialogs/dialogs.h"
#include "platform/files/safe_read.h"
#include "platform/ini/ini.h"

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

// This platform has no installer: while CORVELSETUP.ini holds neither an interface language nor
// a first-start mark (no file, or only the maintenance programs' result keys in it), no first
// start was ever done, and the program leaves what an installer would: the library list in the
// profile, and in section GLOBAL the first-start mark and the interface language of the user's
// locale. The list it prepares is the program folder's, with the libraries of a list already in
// the profile that it lacks. Every other key of the file is kept. An emptied mark is the record
// of a first start done, and a file that names a language or holds a mark is not touched here.
void ActAsInstallerWhenNeverInstalled(StartUpFailures& failures) {
  const QString installerFile = InstallerSettingsFile();
  const QString missing = QStringLiteral("Error");
  if (IsSet(platform::ReadProfileString(installerFile, kGlobalSection, QStringLiteral("LANGUAGE"), missing)) ||
      platform::ReadProfileString(installerFile, kGlobalSection, QStringLiteral("ISNEW"), missing) != missing)
    return;

  const QString profileList = platform::ProfileFolder() + kTopicList;
  const QString shippedList = platform::ProgramFolder() + kTopicList;
  QString reason;
  if (platform::IsRegularFile(shippedList) && !WriteMergedLibraryList(shippedList, profileList, profileList, reason))
    failures.add(profileList, reason);

  // The mark first: a language written without it would end the first starts before one ran.
  if (platform::WriteProfileString(installerFile, kGlobalSection, QStringLiteral("ISNEW"), QStringLiteral("1")) == 0 ||
      platform::WriteProfileString(installerFile, kGlobalSection, QStringLiteral("LANGUAGE"), LanguageLetterOfLocale()) == 0)
    failures.add(installerFile, QString());
}

void RunFirstStartHandOver(StartUpFailures& failures) {
  WriteDefaultSettings();
  // Every write goes to the same file: when the last one failed, the defaults are not there.
  if (g_IniResult == 0) failures.add(ProgramSettingsFile(), QString());
  g_IniValue = QString();
  platform::WriteProfileString(InstallerSettingsFile(), kGlobalSection, QStringLiteral("ISNEW"), g_IniValue);
  // Installs the profile folder's library list in the program folder, as a whole file (a failure
  // never leaves half a list behind), keeping the libraries registered in the program folder's
  // list that it lacks: a repeated first start must not drop them.
  const QString programList = platform::ProgramFolder() + kTopicList;
  QString reason;
  if (!WriteMergedLibraryList(platform::ProfileFolder() + kTopicList, programList, programList, reason))
    failures.add(programList, reason);
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
