// The real program on a library whose disk is full: starting and killing a word must leave the
// library and its settings file exactly as they were, and tell the learner.
#include "tests/support/library_files.h"
#include "tests/support/program_run.h"
#include "tests/support/skip_log.h"
#include "tests/support/small_file_system.h"
#include "tests/support/temp_folders.h"
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

#include <QFileInfo>

namespace {

using namespace testing_support;

// Visible windows of the program whose title is the program's own (message boxes; the bar's
// caption is its tray tip).
int MessageWindows(const XvfbServer& server, const ProgramRun& program) {
  const CommandResult found =
      Xdotool(server.display(), {"search", "--all", "--onlyvisible", "--pid", QString::number(program.process()->processId()),
                                 "--name", "^Corvel'sLexorn2$"});
  return found.ok() ? static_cast<int>(found.output.split('\n', Qt::SkipEmptyParts).size()) : 0;
}

TEST(FullDiskX11, EscapeLeavesTheLibraryAndItsSettingsByteForByteAndTellsTheLearner) {
  XvfbServer server;
  ASSERT_TRUE(server.running()) << server.error().toStdString();
  ProgramRun program(server);
  const SmallFileSystem disk(256, QFileInfo(program.libraryPath()).absolutePath());
  if (!disk.mounted()) SKIP_AS_THE_MACHINE_LACKS("a tmpfs mount of its own: " << disk.error().toStdString());

  FixtureLibrary library;
  library.lines = QStringList{QStringLiteral("{AC}")} + SampleWordLines(40);
  library.normalSettings = {{"WordSpeed", "1"}, {"WordShowMain", "X"}, {"WordSpeak", "0"}, {"WordUILanguage", "A"}};
  program.writeLibrary(library);
  disk.fill();
  const QByteArray libraryBefore = TempFolders::readFile(program.libraryPath());
  const QByteArray settingsBefore = TempFolders::readFile(program.settingsPath());
  ASSERT_FALSE(libraryBefore.isEmpty());
  ASSERT_FALSE(settingsBefore.isEmpty());

  ASSERT_TRUE(program.start());
  ASSERT_FALSE(program.waitForWindow().isEmpty()) << program.log().toStdString();
  WaitUntil([] { return false; }, 2500ms);  // a few word steps, so a word is on the bar
  EXPECT_EQ(MessageWindows(server, program), 0) << "starting on a full disk is no failure to report";

  ASSERT_TRUE(Xdotool(server.display(), {"key", "Escape"}).ok());
  EXPECT_TRUE(WaitUntil([&] { return MessageWindows(server, program) > 0; }, 8s)) << program.log().toStdString();

  EXPECT_EQ(TempFolders::readFile(program.libraryPath()), libraryBefore);
  EXPECT_EQ(TempFolders::readFile(program.settingsPath()), settingsBefore);
  program.process()->stop();
}

}  // namespace
