// The kill's event sound on a machine without a sound device: the real program under Xvfb kills two
// words with the Escape key; its terminal output says once that no sound device was found and
// never blames the sound file.
#include "platform/sound/audio_output.h"
#include "tests/support/library_files.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_folders.h"
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

namespace {

using namespace testing_support;

TEST(EventSoundX11, KillsWithoutASoundDeviceSayOnceThatThereIsNoneInsteadOfBlamingTheSoundFile) {
  if (platform::AudioOutputAvailable()) GTEST_SKIP() << "this machine has a sound device";
  XvfbServer server;
  ASSERT_TRUE(server.running()) << server.error().toStdString();
  ProgramRun program(server);
  FixtureLibrary library;
  library.lines = QStringList{"{AC}"} + SampleWordLines(20);
  library.normalSettings = {{"WordSpeed", "1"}, {"WordShowMain", "X"}, {"WordSpeak", "1"}, {"WordLearnMode", "1"}};
  program.writeLibrary(library);
  ASSERT_TRUE(program.start());
  ASSERT_FALSE(program.waitForWindow().isEmpty()) << program.log().toStdString();

  const auto killed = [&] {
    return LibraryLines(TempFolders::readFile(program.libraryPath())).filter(QRegularExpression("^\\*")).size();
  };
  for (int kill = 1; kill <= 2; ++kill) {
    WaitUntil([] { return false; }, 1200ms);  // a word on the bar
    ASSERT_TRUE(Xdotool(server.display(), {"key", "Escape"}).ok());
    ASSERT_TRUE(WaitUntil([&] { return killed() == kill; }, 5s)) << program.log().toStdString();
  }
  const QString log = program.log();
  EXPECT_EQ(log.count("no sound device was found"), 1) << log.toStdString();
  EXPECT_FALSE(log.contains("cannot play")) << log.toStdString();
}

}  // namespace
