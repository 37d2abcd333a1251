#pragma once
// The real program started on a fixture library under a private X server, with a temporary
// profile folder, for end-to-end tests.

#include "tests/support/xvfb_server.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <utility>

namespace testing_support {

struct FixtureLibrary {
  QStringList lines;                            // stored lines, the header first
  QList<QPair<QString, QString>> normalSettings;  // keys of section "Normal" of its settings file
};

// The profile folder a run starts with.
enum class Profile {
  AfterFirstStart,  // a CORVELSETUP.ini whose first start is behind it: no defaults are written
  Fresh,            // empty, as for a user who never started the program
};

class ProgramRun {
 public:
  explicit ProgramRun(const XvfbServer& server, Profile profile = Profile::AfterFirstStart);
  ~ProgramRun();
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;

  // Writes the library "Words.abc" and its settings file into the fixture folder.
  void writeLibrary(const FixtureLibrary& library);
  // Sets an environment variable for the program's next start (LANG, for instance).
  void setEnvironment(const QString& name, const QString& value) { extraEnvironment_.insert(name, value); }
  // Runs `setup` in the program's process before it starts, at its next starts (to drop a
  // capability, for instance).
  void setChildSetup(std::function<void()> setup) { childSetup_ = std::move(setup); }
  // Gives the program's next start the desktop locale `lang` ("en_US.UTF-8") and nothing that
  // would override it (LC_ALL, LC_MESSAGES), so the language it picks is the one asked for.
  void setLocale(const QString& lang);
  // Starts the program through `command` (a program and its arguments; the program's path and its
  // arguments follow them), which must replace itself with the program so the process is the
  // program's. Empty: the program is started directly.
  void setLauncher(const QStringList& command) { launcher_ = command; }
  // Starts the program with the library's path on its command line; false when it did not start.
  bool start();
  // Starts the program with another path on its command line (a library that is not Words.abc).
  bool startOn(const QString& library);
  // Starts the program with an empty command line (the library manager opens).
  bool startWithoutLibrary();
  // Starts one more instance on the same library and program folder, beside the first.
  std::unique_ptr<BackgroundProcess> startAnother(const QString& logPath) const;
  // The program's visible windows on the desktop (bar, menus, messages), or those docked into the
  // tray host; X window ids.
  QStringList desktopWindows() const;
  QStringList trayWindows() const;
  // Waits until the program shows a window on the desktop; returns its X window id, or empty.
  QString waitForWindow(std::chrono::milliseconds timeout = 10s);
  // Waits until the program's icon is docked into the tray host; returns its X window id, or empty.
  QString waitForTrayIcon(std::chrono::milliseconds timeout = 10s);
  // Opens the tray menu by a right click on the docked icon `icon` and picks the meaning-symbol
  // item with the keyboard, as a learner can; returns the dialog's X window id, or empty when the
  // menu or the dialog did not show.
  QString openMeaningSymbolDialogFromTray(const QString& icon);

  QString libraryPath() const { return folder_.path() + QStringLiteral("/library/Words.abc"); }
  QString settingsPath() const { return folder_.path() + QStringLiteral("/library/Words.ini"); }
  QString profileFolder() const { return folder_.path() + QStringLiteral("/profile"); }
  QString programFolder() const { return folder_.path() + QStringLiteral("/program"); }
  QString logPath() const { return folder_.path() + QStringLiteral("/program.log"); }
  QString log() const;
  BackgroundProcess* process() const { return process_.get(); }

 private:
  bool launch(const QStringList& arguments);
  QStringList visibleWindows(bool onDesktop) const;
  QString waitForVisibleWindow(bool onDesktop, std::chrono::milliseconds timeout);
  std::unique_ptr<BackgroundProcess> spawn(const QStringList& arguments, const QString& logPath) const;

  const XvfbServer& server_;
  QTemporaryDir folder_;
  QProcessEnvironment extraEnvironment_;
  std::function<void()> childSetup_;
  QStringList launcher_;
  std::unique_ptr<BackgroundProcess> process_;
};

}  // namespace testing_support
