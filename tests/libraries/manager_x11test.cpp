// The real program under Xvfb, started without a library: the library manager lists the
// registered library, and Play opens the word bar on it.
#include "tests/support/library_files.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_folders.h"
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

namespace {

using namespace testing_support;

QStringList VisibleWindows(const XvfbServer& server, const ProgramRun& program) {
  const CommandResult found =
      server.run("xdotool", {"search", "--onlyvisible", "--pid", QString::number(program.process()->processId())});
  return found.output.split('\n', Qt::SkipEmptyParts);
}

QString WindowName(const XvfbServer& server, const QString& window) {
  return server.run("xdotool", {"getwindowname", window}).output.trimmed();
}

TEST(ManagerX11, ListsTheRegisteredLibraryAndPlayOpensTheBarOnIt) {
  XvfbServer server;
  ASSERT_TRUE(server.running()) << server.error().toStdString();
  ProgramRun program(server);
  FixtureLibrary library;
  library.lines = QStringList{"{AC}"} + SampleWordLines(20);
  library.normalSettings = {{"WordShowMain", "X"}, {"WordSpeak", "0"}, {"WordWait", "X"}};
  program.writeLibrary(library);
  const QString folder = program.libraryPath().chopped(QStringLiteral("Words.abc").size());
  TempFolders::writeFile(program.programFolder() + "/TopicList.ini", "[AC:Words]\r\n@=" + folder.toUtf8() + "\r\n");

  ASSERT_TRUE(program.startWithoutLibrary());
  const QString manager = program.waitForWindow();
  ASSERT_FALSE(manager.isEmpty()) << program.log().toStdString();
  const CommandResult geometry = server.run("xdotool", {"getwindowgeometry", manager});
  EXPECT_TRUE(geometry.output.contains("Geometry: 416x168")) << geometry.output.toStdString();

  // The learner opens the list, closes it again and steps onto its first entry with the keyboard.
  ASSERT_TRUE(Xdotool(server.display(), {"mousemove", "--window", manager, "215", "55", "click", "1"}).ok());
  ASSERT_TRUE(WaitUntil([&] { return VisibleWindows(server, program).size() > 1; }, 3s));  // the drop-down
  ASSERT_TRUE(Xdotool(server.display(), {"key", "Escape"}).ok());
  ASSERT_TRUE(WaitUntil([&] { return VisibleWindows(server, program).size() == 1; }, 3s));
  ASSERT_TRUE(Xdotool(server.display(), {"key", "Down"}).ok());
  QTemporaryDir shots;
  ASSERT_TRUE(Screenshot(server.display(), shots.filePath("manager.png")).ok());

  ASSERT_TRUE(Xdotool(server.display(), {"mousemove", "--window", manager, "384", "58", "click", "1"}).ok());
  QString bar;
  EXPECT_TRUE(WaitUntil(
      [&] {
        const QStringList windows = VisibleWindows(server, program);
        if (windows.contains(manager)) return false;
        for (const QString& window : windows)
          if (WindowName(server, window).contains("Words")) bar = window;
        return !bar.isEmpty();
      },
      5s))
      << program.log().toStdString();
  EXPECT_TRUE(program.process()->running());
}

}  // namespace
