#include "tests/support/program_run.h"

#include "platform/ini/ini.h"
#include "tests/support/library_files.h"
#include "tests/support/temp_folders.h"

#include <QDir>
#include <QFile>

namespace testing_support {

ProgramRun::ProgramRun(const XvfbServer& server, Profile profile) : server_(server) {
  QDir().mkpath(folder_.path() + QStringLiteral("/library"));
  QDir().mkpath(profileFolder());
  // A program folder of its own (the program and its shipped files, no settings left by other
  // runs), since the program folder is always the folder of the running executable.
  QDir().mkpath(programFolder());
  const QDir app(QStringLiteral(LEXORN_APP_DIR));
  for (const QString& name : app.entryList(QDir::Files)) {
    if (name == QLatin1String("Settings.ini")) continue;
    QFile::copy(app.filePath(name), programFolder() + QLatin1Char('/') + name);
  }
  // Most runs play a learner whose first start is behind them, so the settings are those the
  // test gives; the first start's own tests begin with an empty profile.
  if (profile == Profile::AfterFirstStart)
    TempFolders::writeFile(profileFolder() + QStringLiteral("/CORVELSETUP.ini"), "[GLOBAL]\nISNEW=\n");
}

ProgramRun::~ProgramRun() = default;

void ProgramRun::writeLibrary(const FixtureLibrary& library) {
  TempFolders::writeFile(libraryPath(), LibraryBytes(library.lines));
  for (const auto& [key, value] : library.normalSettings)
    platform::WriteProfileString(settingsPath(), QStringLiteral("Normal"), key, value);
}

void ProgramRun::setLocale(const QString& lang) {
  setEnvironment(QStringLiteral("LANG"), lang);
  setEnvironment(QStringLiteral("LC_ALL"), QString());
  setEnvironment(QStringLiteral("LC_MESSAGES"), QString());
}

bool ProgramRun::start() { return launch({QLatin1Char('"') + libraryPath() + QLatin1Char('"')}); }

bool ProgramRun::startOn(const QString& library) { return launch({QLatin1Char('"') + library + QLatin1Char('"')}); }

bool ProgramRun::startWithoutLibrary() { return launch({}); }

bool ProgramRun::launch(const QStringList& arguments) {
  process_ = spawn(arguments, logPath());
  return process_->started();
}

std::unique_ptr<BackgroundProcess> ProgramRun::startAnother(const QString& logPath) const {
  return spawn({QLatin1Char('"') + libraryPath() + QLatin1Char('"')}, logPath);
}

std::unique_ptr<BackgroundProcess> ProgramRun::spawn(const QStringList& arguments, const QString& logPath) const {
  QProcessEnvironment environment = server_.environment();
  environment.insert(QStringLiteral("USERPROFILE"), profileFolder());
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  for (const QString& name : extraEnvironment_.keys()) environment.insert(name, extraEnvironment_.value(name));
  const QString program = programFolder() + QStringLiteral("/Corvel'sLexorn2");
  if (launcher_.isEmpty()) return std::make_unique<BackgroundProcess>(program, arguments, environment, logPath, childSetup_);
  return std::make_unique<BackgroundProcess>(launcher_.front(), launcher_.mid(1) + QStringList{program} + arguments,
                                             environment, logPath, childSetup_);
}

QStringList ProgramRun::visibleWindows(bool onDesktop) const {
  if (!process_) return {};
  const CommandResult found =
      Xdotool(server_.display(), {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                                  QString::number(process_->processId())});
  QStringList windows;
  if (!found.ok()) return windows;
  for (const QString& line : found.output.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
    const QString window = line.trimmed();
    if (IsOnDesktop(server_.display(), window) == onDesktop) windows.append(window);
  }
  return windows;
}

QStringList ProgramRun::desktopWindows() const { return visibleWindows(true); }
QStringList ProgramRun::trayWindows() const { return visibleWindows(false); }

QString ProgramRun::waitForVisibleWindow(bool onDesktop, std::chrono::milliseconds timeout) {
  QString window;
  WaitUntil(
      [&] {
        window = visibleWindows(onDesktop).value(0);
        return !window.isEmpty();
      },
      timeout, 200ms);
  return window;
}

QString ProgramRun::waitForWindow(std::chrono::milliseconds timeout) { return waitForVisibleWindow(true, timeout); }
QString ProgramRun::waitForTrayIcon(std::chrono::milliseconds timeout) { return waitForVisibleWindow(false, timeout); }

QString ProgramRun::openMeaningSymbolDialogFromTray(const QString& icon) {
  const auto xdotool = [&](const QStringList& arguments) { return Xdotool(server_.display(), arguments).ok(); };
  const QStringList before = desktopWindows();
  if (!xdotool({"mousemove", "--window", icon, "8", "8", "click", "3"})) return {};
  if (!WaitUntil([&] { return desktopWindows().size() > before.size(); }, 5s)) return {};
  // The Show submenu is the tenth item; from its first item, the meaning-symbol item is the third
  // from its end (the meaning-size and meaning-rows submenus follow it).
  for (const char* key : {"Down", "Down", "Down", "Down", "Down", "Down", "Down", "Down", "Down", "Down", "Right",
                          "Up", "Up", "Up", "Return"}) {
    if (!xdotool({"key", key})) return {};
  }
  // The dialog is the new window of the dialog's size.
  QString dialog;
  WaitUntil(
      [&] {
        for (const QString& window : desktopWindows()) {
          if (!before.contains(window) && server_.run("xdotool", {"getwindowgeometry", window}).output.contains("416x169"))
            dialog = window;
        }
        return !dialog.isEmpty();
      },
      5s);
  return dialog;
}

QString ProgramRun::log() const {
  QFile file(logPath());
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromLocal8Bit(file.readAll());
}

}  // namespace testing_support
