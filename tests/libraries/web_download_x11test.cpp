// The real program under Xvfb, started without a library, against a loopback web server: the
// manager's Web item fetches the server list, the learner checks a library in the catalogue and
// downloads it, the manager lists and selects it, and Play opens the bar on it.
#include "tests/support/library_files.h"
#include "tests/support/loopback_http_server.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_folders.h"
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

#include <QFile>

namespace {

using namespace testing_support;

struct Window {
  QString id;
  QString geometry;  // "WxH"
  QString position;  // "X,Y"
};

QList<Window> VisibleWindows(const XvfbServer& server, const ProgramRun& program) {
  QList<Window> windows;
  const CommandResult found =
      server.run("xdotool", {"search", "--onlyvisible", "--pid", QString::number(program.process()->processId())});
  for (const QString& id : found.output.split('\n', Qt::SkipEmptyParts)) {
    const QString text = server.run("xdotool", {"getwindowgeometry", id}).output;
    Window window{id, {}, {}};
    for (const QString& line : text.split('\n')) {
      if (line.contains("Geometry:")) window.geometry = line.section(':', 1).trimmed();
      if (line.contains("Position:")) window.position = line.section(':', 1).trimmed().section(' ', 0, 0);
    }
    windows << window;
  }
  return windows;
}

QString WindowSized(const XvfbServer& server, const ProgramRun& program, const QString& size) {
  for (const Window& window : VisibleWindows(server, program))
    if (window.geometry == size) return window.id;
  return {};
}

// The message box the program shows (titled with the program's name), or empty.
QString MessageBox(const XvfbServer& server, const ProgramRun& program, const QString& manager) {
  for (const Window& window : VisibleWindows(server, program)) {
    if (window.id != manager && server.run("xdotool", {"getwindowname", window.id}).output.trimmed() == "Corvel'sLexorn2")
      return window.id;
  }
  return {};
}

TEST(WebDownloadX11, TheWebItemDownloadsALibraryThatTheManagerListsAndPlays) {
  XvfbServer server;
  ASSERT_TRUE(server.running()) << server.error().toStdString();
  LoopbackHttpServer web;
  web.serve("/lib/_ServerUpdate2.in_",
            "[ALL]\nAC=1\n[AC]\nFROM_FILENAME01=Fetched.abc\nTO_FILENAME01=Fetched.abc\nDESC_A01=Fetched words\n"
            "PRICE_01=FREE\nFILENAME01_BUILD_TIME=20090305_08:07:09\n");
  web.serve("/lib/Fetched.abc", LibraryBytes(QStringList{"{AC}"} + SampleWordLines(20)));

  ProgramRun program(server);
  const QByteArray folder = program.profileFolder().toUtf8() + "/libs";
  const QByteArray address = web.url("/lib/").toUtf8();
  TempFolders::writeFile(program.programFolder() + "/TopicList.ini", "");
  // WordShowMain as an installation writes it: without it the bar would start hidden in the tray.
  TempFolders::writeFile(program.programFolder() + "/Settings.ini", "[Global]\nWordUILanguage=A\nWordShowMain=X\n");
  TempFolders::writeFile(program.programFolder() + "/WebLibLocation.ini",
                         "[DOWNLOADFROM]\nNewPath=" + address + "\nNewFileName=_ServerUpdate2.in_\n");
  TempFolders::writeFile(program.programFolder() + "/ServerLocation.ini", "[DOWNLOADFROM]\nNewPath=" + address + "\n");
  TempFolders::writeFile(program.profileFolder() + "/CORVELSETUP.ini", "[GLOBAL]\nLANGUAGE=A\nLIBPATH=" + folder + "\n");

  ASSERT_TRUE(program.startWithoutLibrary());
  const QString manager = program.waitForWindow();
  ASSERT_FALSE(manager.isEmpty()) << program.log().toStdString();

  // The list holds Add, Web and Delete: open it and pick Web, the second item.
  ASSERT_TRUE(Xdotool(server.display(), {"mousemove", "--window", manager, "215", "55", "click", "1"}).ok());
  ASSERT_TRUE(WaitUntil([&] { return VisibleWindows(server, program).size() > 1; }, 3s));
  ASSERT_TRUE(Xdotool(server.display(), {"key", "Down", "Return"}).ok());

  QString catalogue;
  ASSERT_TRUE(WaitUntil([&] { return !(catalogue = WindowSized(server, program, "560x410")).isEmpty(); }, 10s))
      << program.log().toStdString();
  // The English category, then the check box of its first row, then Download and the confirmation.
  ASSERT_TRUE(Xdotool(server.display(), {"mousemove", "--window", catalogue, "40", "48", "click", "1"}).ok());
  ASSERT_TRUE(Xdotool(server.display(), {"mousemove", "--window", catalogue, "167", "72", "click", "1"}).ok());
  ASSERT_TRUE(Xdotool(server.display(), {"mousemove", "--window", catalogue, "494", "388", "click", "1"}).ok());
  ASSERT_TRUE(WaitUntil([&] { return !MessageBox(server, program, manager).isEmpty(); }, 5s));
  ASSERT_TRUE(Xdotool(server.display(), {"key", "Return"}).ok());
  // The run's report, then back in the manager with the new library selected.
  ASSERT_TRUE(WaitUntil([&] { return QFile::exists(folder + "/Corvel's Lexorn Library/Fetched.abc"); }, 10s));
  ASSERT_TRUE(WaitUntil([&] { return !MessageBox(server, program, manager).isEmpty(); }, 10s));
  ASSERT_TRUE(Xdotool(server.display(), {"key", "Return"}).ok());
  ASSERT_TRUE(WaitUntil([&] { return VisibleWindows(server, program).size() == 1; }, 5s));

  ASSERT_TRUE(Xdotool(server.display(), {"mousemove", "--window", manager, "384", "58", "click", "1"}).ok());
  EXPECT_TRUE(WaitUntil(
      [&] {
        for (const QString& id : server.run("xdotool", {"search", "--onlyvisible", "--pid",
                                                        QString::number(program.process()->processId())})
                                     .output.split('\n', Qt::SkipEmptyParts))
          if (server.run("xdotool", {"getwindowname", id}).output.contains("Fetched")) return true;
        return false;
      },
      5s))
      << program.log().toStdString();
  EXPECT_TRUE(program.process()->running());
}

}  // namespace
