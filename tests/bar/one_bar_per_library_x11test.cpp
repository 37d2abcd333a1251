// Two starts on one library: the second tells the learner and ends, the first keeps the library.
#include "tests/support/library_files.h"
#include "tests/support/program_run.h"
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

namespace {

using namespace testing_support;

QStringList VisibleWindows(const XvfbServer& server, const BackgroundProcess& process) {
  const CommandResult found =
      Xdotool(server.display(), {"search", "--onlyvisible", "--pid", QString::number(process.processId())});
  QStringList names;
  if (!found.ok()) return names;
  for (const QString& window : found.output.split('\n', Qt::SkipEmptyParts))
    names << Xdotool(server.display(), {"getwindowname", window.trimmed()}).output.trimmed();
  return names;
}

TEST(OneBarPerLibraryX11, ASecondStartOnTheSameLibraryIsRefusedAndEnds) {
  XvfbServer server;
  ASSERT_TRUE(server.running()) << server.error().toStdString();
  ProgramRun program(server);
  FixtureLibrary library;
  library.lines = QStringList{QStringLiteral("{AC}")} + SampleWordLines(10);
  library.normalSettings = {{"WordShowMain", "X"}, {"WordSpeak", "0"}, {"WordUILanguage", "A"}};
  program.writeLibrary(library);
  ASSERT_TRUE(program.start());
  ASSERT_FALSE(program.waitForWindow().isEmpty()) << program.log().toStdString();

  const auto second = program.startAnother(program.logPath() + QStringLiteral(".second"));
  ASSERT_TRUE(second->started());
  QStringList windows;
  ASSERT_TRUE(WaitUntil([&] { return !(windows = VisibleWindows(server, *second)).isEmpty(); }, 10s));
  EXPECT_EQ(windows, QStringList{"Corvel'sLexorn2"}) << "a message, and no bar";

  ASSERT_TRUE(Xdotool(server.display(), {"key", "Return"}).ok());
  ASSERT_TRUE(second->waitForExit(5s));
  EXPECT_NE(second->exitCode(), 0);
  EXPECT_TRUE(program.process()->running());
}

}  // namespace
