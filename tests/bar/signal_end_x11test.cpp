// The real program under Xvfb with trayer, ended by a signal (a logout, `kill`, Ctrl+C): it ends
// as Exit ends it, with exit status 0, the library's lock file gone, its icon out of the tray and
// the game's card pictures removed; also with a modal window or a message open, and when a
// second signal follows the first at once.
#include "tests/support/message_windows.h"
#include "tests/support/program_run.h"
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <iostream>
#include <ostream>
#include <vector>

#include <signal.h>

namespace {

using namespace testing_support;

// Two lines with a word and a meaning: the game deals four cards from them.
QStringList LibraryLines() {
  QStringList lines{QStringLiteral("{AC}"), QStringLiteral("apple@[a]fruit"), QStringLiteral("river@[r]water")};
  for (int i = 3; i <= 20; ++i) lines << QStringLiteral("word%1@[w%1]").arg(i);
  return lines;
}

class SignalEndX11;
struct SignalCase {
  const char* name;
  std::vector<int> sent;  // the signals, one right after the other
  // Brings the program into the state the signals find it in; false when that did not come.
  std::function<bool(SignalEndX11&)> prepare;
  bool trayHost = true;  // without one, the program tells the learner so in a message
};
void PrintTo(const SignalCase& c, std::ostream* out) { *out << c.name; }

class SignalEndX11 : public ::testing::TestWithParam<SignalCase> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.running()) << server.error().toStdString();
    FixtureLibrary library;
    library.lines = LibraryLines();
    library.normalSettings = {{"WordSpeed", "1"}, {"WordShowMain", "X"}, {"WordSpeak", "0"},
                              {"WordUILanguage", "A"}, {"WordDoSegment", "X"}};
    program.writeLibrary(library);
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
  bool xdotool(const QStringList& arguments) { return Xdotool(server.display(), arguments).ok(); }

  // The tray host's panel, and whether an icon of the program is docked in it.
  bool trayHoldsTheIcon() {
    const QString panel = Xdotool(server.display(), {"search", "--classname", "^panel$"}).output.trimmed();
    if (panel.isEmpty()) return false;
    return server.run("xwininfo", {"-tree", "-id", panel}).output.contains("\"Corvel'sLexorn2\"");
  }
  QString lockPath() const { return program.libraryPath().section('/', 0, -2) + "/.Words.abc.lock"; }
  QStringList cardFolders() const {
    return QDir(temporaryFolder.path()).entryList({"lexorn-cards-*"}, QDir::Dirs | QDir::Hidden);
  }

  // Opens the tray menu on the icon and picks the game with the keys; true when the game has
  // dealt its cards (their pictures are in a folder of their own).
  bool openGameFromTray(const QStringList& keys) {
    const QStringList before = program.desktopWindows();
    if (!xdotool({"mousemove", "--window", icon, "8", "8", "click", "3"})) return false;
    if (!WaitUntil([&] { return program.desktopWindows().size() > before.size(); }, 5s)) return false;
    for (const QString& key : keys) {
      if (!xdotool({"key", key})) return false;
    }
    return WaitUntil([&] { return !cardFolders().isEmpty(); }, 10s);
  }

  XvfbServer server{XvfbOptions{.trayHost = GetParam().trayHost}};
  ProgramRun program{server};
  QTemporaryDir temporaryFolder;
  QByteArray libraryBytes;
  QString icon;
};

const SignalCase kCases[] = {
    {"Terminate", {SIGTERM}, [](SignalEndX11& t) { return !t.program.waitForWindow().isEmpty(); }},
    {"HangUp", {SIGHUP}, [](SignalEndX11& t) { return !t.program.waitForWindow().isEmpty(); }},
    {"Interrupt", {SIGINT}, [](SignalEndX11& t) { return !t.program.waitForWindow().isEmpty(); }},
    {"TerminateTwiceAtOnce", {SIGTERM, SIGINT}, [](SignalEndX11& t) { return !t.program.waitForWindow().isEmpty(); }},
    {"TerminateWithTheSymbolDialogOpen", {SIGTERM, SIGTERM},
     [](SignalEndX11& t) { return !t.program.openMeaningSymbolDialogFromTray(t.icon).isEmpty(); }},
    // Language .. Type: the seventh item; from its first item the game is the last.
    {"TerminateWithTheGameOpen", {SIGTERM},
     [](SignalEndX11& t) {
       return t.openGameFromTray({"Down", "Down", "Down", "Down", "Down", "Down", "Down", "Right", "Up", "Return"});
     }},
    {"HangUpWithAMessageOpen", {SIGHUP},
     [](SignalEndX11& t) {
       return WaitUntil([&] { return !MessageWindows(t.server.display(), t.program.process()->processId()).isEmpty(); },
                        10s);
     },
     false},
};

TEST_P(SignalEndX11, TheProgramEndsAsExitEndsIt) {
  const SignalCase& c = GetParam();
  ASSERT_TRUE(c.prepare(*this)) << program.log().toStdString();
  ASSERT_TRUE(QFile::exists(lockPath()));
  ASSERT_EQ(trayHoldsTheIcon(), c.trayHost);

  QElapsedTimer ending;
  ending.start();
  for (const int number : c.sent) ASSERT_EQ(::kill(static_cast<pid_t>(program.process()->processId()), number), 0);
  ASSERT_TRUE(program.process()->waitForExit(10s)) << "still running";
  std::cout << "[ figure ] " << c.name << ": signal to program ended: " << ending.elapsed() << " ms\n";

  // A program killed by the signal would report the signal's number.
  EXPECT_EQ(program.process()->exitCode(), 0) << program.log().toStdString();
  EXPECT_FALSE(QFile::exists(lockPath()));
  EXPECT_TRUE(WaitUntil([&] { return !trayHoldsTheIcon(); }, 5s));
  EXPECT_TRUE(cardFolders().isEmpty()) << cardFolders().join(' ').toStdString();
  EXPECT_EQ(read(program.libraryPath()), libraryBytes);
}

INSTANTIATE_TEST_SUITE_P(Signals, SignalEndX11, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<SignalCase>& info) { return info.param.name; });

}  // namespace
