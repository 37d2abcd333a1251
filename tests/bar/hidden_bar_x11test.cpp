// WordShowMain off: the real program with a tray host keeps its bar out of sight from the start
// on, with only its tray icon showing.
#include "tests/support/library_files.h"
#include "tests/support/program_run.h"
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

namespace {

using namespace testing_support;

TEST(HiddenBarX11, WithWordShowMainOffOnlyTheTrayIconShows) {
  XvfbServer server;
  ASSERT_TRUE(server.running()) << server.error().toStdString();
  ProgramRun program(server);
  FixtureLibrary library;
  library.lines = QStringList{QStringLiteral("{AC}")} + SampleWordLines(10);
  library.normalSettings = {{"WordSpeed", "1"}, {"WordShowMain", ""}, {"WordSpeak", "0"}};
  program.writeLibrary(library);
  ASSERT_TRUE(program.start());

  ASSERT_FALSE(program.waitForTrayIcon().isEmpty()) << program.log().toStdString();
  WaitUntil([] { return false; }, 2500ms);  // word steps and fits come and go
  EXPECT_TRUE(program.desktopWindows().isEmpty()) << program.log().toStdString();
  EXPECT_TRUE(program.process()->running());
}

}  // namespace
