// The real program under Xvfb with trayer, ended by a signal (a logout, `kill`, Ctrl+C): it ends
// as Exit ends it, with exit status 0, the library's lock file gone, its icon out of the tray and
// the game's card pictures removed; also with a modal window or a message open, and when a
// second signal follows the first at once.
#include "tests/support/library_files.h"
#include "tests/support/message_windows.h"
#include "tests/support/program_run.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <iostream>
#include <vector>

#include <signal.h>

namespace {

using namespace testing_support;

class SignalEndX11;
struct SignalCase {
  const char* name;
  std::vector<int> sent;  // one right after the other
  // Brings the program into the state the signals find it in; false when that did not come.
  std::function<bool(SignalEndX11&)> prepare;
  bool trayHost = true;  // without one, a message tells the learner so
};
void PrintTo(const SignalCase& c, std::ostream* out) { *out << c.name; }

class SignalEndX11 : public ::testing::TestWithParam<SignalCase> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.running()) << server.error().toStdString();
    program.writeLibrary({QStringList{"{AC}"} + SampleWordLines(20),
                          {{"WordShowMain", "X"}, {"WordSpeak", "0"}, {"WordUILanguage", "A"}, {"WordDoSegment", "X"}}});
    libraryBytes = read(program.libraryPath());
    program.setEnvironment("TMPDIR", temporaryFolder.path());
    ASSERT_TRUE(program.start());
    if (!GetParam().trayHost) return;
    icon = program.waitForTrayIcon();
    ASSERT_FALSE(icon.isEmpty()) << program.log().toStdString();
  }

 public:
  static QByteArray read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  bool trayHoldsTheIcon() {
    const QString panel = Xdotool(server.display(), {"search", "--classname", "^panel$"}).output.trimmed();
    return !panel.isEmpty() && server.run("xwininfo", {"-tree", "-id", panel}).output.contains("\"Corvel'sLexorn2\"");
  }
  QStringList cardFolders() const { return QDir(temporaryFolder.path()).entryList({"lexorn-cards-*"}, QDir::Dirs); }
  // The game from the tray menu: Language .. Type is the seventh item, the game the Type
  // submenu's last. True once it has dealt (its pictures lie in a folder of their own).
  bool openGameFromTray() {
    if (!Xdotool(server.display(), {"mousemove", "--window", icon, "8", "8", "click", "3"}).ok()) return false;
    if (!WaitUntil([&] { return program.desktopWindows().size() > 1; }, 5s)) return false;
    for (const char* key : {"Down", "Down", "Down", "Down", "Down", "Down", "Down", "Right", "Up", "Return"}) {
      if (!Xdotool(server.display(), {"key", key}).ok()) return false;
    }
    return WaitUntil([&] { return !cardFolders().isEmpty(); }, 10s);
  }

  XvfbServer server{XvfbOptions{.trayHost = GetParam().trayHost}};
  ProgramRun program{server};
  QTemporaryDir temporaryFolder;
  QByteArray libraryBytes;
  QString icon;
};

bool BarShown(SignalEndX11& t) { return !t.program.waitForWindow().isEmpty(); }

const SignalCase kCases[] = {
    {"Terminate", {SIGTERM}, BarShown},
    {"HangUp", {SIGHUP}, BarShown},
    {"Interrupt", {SIGINT}, BarShown},
    {"TerminateTwiceAtOnce", {SIGTERM, SIGINT}, BarShown},
    {"TerminateTwiceWithTheSymbolDialogOpen", {SIGTERM, SIGTERM},
     [](SignalEndX11& t) { return !t.program.openMeaningSymbolDialogFromTray(t.icon).isEmpty(); }},
    {"TerminateWithTheGameOpen", {SIGTERM}, [](SignalEndX11& t) { return t.openGameFromTray(); }},
    {"HangUpWithAMessageOpen", {SIGHUP},
     [](SignalEndX11& t) {
       const qint64 pid = t.program.process()->processId();
       return WaitUntil([&] { return !MessageWindows(t.server.display(), pid).isEmpty(); }, 10s);
     },
     false},
};

TEST_P(SignalEndX11, TheProgramEndsAsExitEndsIt) {
  const SignalCase& c = GetParam();
  ASSERT_TRUE(c.prepare(*this)) << program.log().toStdString();
  const QString lock = program.libraryPath().section('/', 0, -2) + "/.Words.abc.lock";
  ASSERT_TRUE(QFile::exists(lock));
  ASSERT_EQ(trayHoldsTheIcon(), c.trayHost);

  QElapsedTimer ending;
  ending.start();
  for (const int number : c.sent) ASSERT_EQ(::kill(static_cast<pid_t>(program.process()->processId()), number), 0);
  ASSERT_TRUE(program.process()->waitForExit(10s)) << "still running";
  std::cout << "[ figure ] " << c.name << ": signal to program ended: " << ending.elapsed() << " ms\n";

  // A program killed by the signal would report the signal's number.
  EXPECT_EQ(program.process()->exitCode(), 0) << program.log().toStdString();
  EXPECT_FALSE(QFile::exists(lock));
  EXPECT_TRUE(WaitUntil([&] { return !trayHoldsTheIcon(); }, 5s));
  EXPECT_TRUE(cardFolders().isEmpty()) << cardFolders().join(' ').toStdString();
  EXPECT_EQ(read(program.libraryPath()), libraryBytes);
}

INSTANTIATE_TEST_SUITE_P(Signals, SignalEndX11, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<SignalCase>& info) { return info.param.name; });

}  // namespace
