// The real program under Xvfb as a new user meets it: an empty profile, the program folder as the
// build leaves it. The first start writes the hand-over file and the defaults, so a library
// without settings plays as a visible bar, wholly on the screen; a later start writes nothing.
// A bar whose rows grow past the screen's edge is moved in.
#include "bar/SubMain.h"
#include "platform/ini/ini.h"
#include "tests/support/library_files.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_folders.h"
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QRect>

namespace {

using namespace testing_support;

const QRect kScreen(0, 0, 1280, 800);  // the test server's screen

// The window's place and size as the X server has it.
QRect Geometry(const XvfbServer& server, const QString& window) {
  const CommandResult result = server.run("xdotool", {"getwindowgeometry", "--shell", window});
  QRect rect;
  for (const QString& line : result.output.split('\n', Qt::SkipEmptyParts)) {
    const QString value = line.section('=', 1);
    if (line.startsWith("X=")) rect.moveLeft(value.toInt());
    if (line.startsWith("Y=")) rect.moveTop(value.toInt());
    if (line.startsWith("WIDTH=")) rect.setWidth(value.toInt());
    if (line.startsWith("HEIGHT=")) rect.setHeight(value.toInt());
  }
  return rect;
}

FixtureLibrary ThreeWords() {
  FixtureLibrary library;
  library.lines = {"{AC}", "apple@[ˈæpəl](apple) n. 苹果", "pear@[peə](pear) n. 梨", "plum@[plʌm](plum) n. 李子"};
  return library;
}

TEST(FirstStartX11, AnEnglishDesktopGetsTheEnglishInterfaceWrittenForItsFirstStart) {
  XvfbServer server;
  ASSERT_TRUE(server.running()) << server.error().toStdString();
  ProgramRun program(server, Profile::Fresh);
  program.setEnvironment("LANG", "en_US.UTF-8");
  program.setEnvironment("LC_ALL", "");
  program.setEnvironment("LC_MESSAGES", "");
  ASSERT_TRUE(program.startWithoutLibrary());
  ASSERT_FALSE(program.waitForWindow().isEmpty()) << program.log().toStdString();

  const QString handOver = program.profileFolder() + "/CORVELSETUP.ini";
  EXPECT_EQ(platform::ReadProfileString(handOver, "GLOBAL", "LANGUAGE", "Error"), "A");
  EXPECT_EQ(platform::ReadProfileString(handOver, "GLOBAL", "ISNEW", "Error"), "");
  EXPECT_EQ(platform::ReadProfileString(program.programFolder() + "/Settings.ini", "Global", "WordUILanguage", "Error"),
            "A");
  EXPECT_EQ(TempFolders::readFile(program.profileFolder() + "/TopicList.ini"),
            TempFolders::readFile(QStringLiteral(LEXORN_APP_DIR "/TopicList.ini")));
}

TEST(FirstStartX11, ALibraryWithoutSettingsPlaysWhollyOnScreenAndALaterStartWritesNothing) {
  XvfbServer server;
  ASSERT_TRUE(server.running()) << server.error().toStdString();
  ProgramRun program(server, Profile::Fresh);
  program.writeLibrary(ThreeWords());  // no settings file of its own
  ASSERT_TRUE(program.start());
  const QString bar = program.waitForWindow();
  ASSERT_FALSE(bar.isEmpty()) << program.log().toStdString();

  // The defaults place a 400-pixel bar in the middle of the screen, with its word and status rows.
  const QRect shown = Geometry(server, bar);
  EXPECT_EQ(shown.topLeft(), QPoint(390, 350));
  EXPECT_EQ(shown.width(), 400);
  EXPECT_GE(shown.height(), 30);
  EXPECT_TRUE(kScreen.contains(shown)) << shown.x() << "," << shown.y() << " " << shown.width() << "x" << shown.height();

  const QString settings = program.programFolder() + "/Settings.ini";
  const QString handOver = program.profileFolder() + "/CORVELSETUP.ini";
  const QByteArray settingsBytes = TempFolders::readFile(settings);
  const QByteArray handOverBytes = TempFolders::readFile(handOver);
  ASSERT_FALSE(settingsBytes.isEmpty());
  program.process()->stop();

  ASSERT_TRUE(program.start());
  ASSERT_FALSE(program.waitForWindow().isEmpty()) << program.log().toStdString();
  EXPECT_EQ(TempFolders::readFile(settings), settingsBytes);
  EXPECT_EQ(TempFolders::readFile(handOver), handOverBytes);
}

TEST(BarOnScreenX11, ABarWithACoverAtTheBottomOfTheScreenIsMovedIn) {
  XvfbServer server;
  ASSERT_TRUE(server.running()) << server.error().toStdString();
  ProgramRun program(server);
  FixtureLibrary library = ThreeWords();
  library.normalSettings = {{"WordShowMain", "X"}, {"WordShowStatus", "X"}, {"WordShowPicture", "X"},
                            {"WordShowPhonetic", "X"}, {"WordSpeak", "0"}, {"WindowW", "432"}};
  program.writeLibrary(library);
  const QString pictures = program.libraryPath().chopped(4) + ".JPG";
  ASSERT_TRUE(QDir().mkpath(pictures));
  QImage cover(432, 150, QImage::Format_RGB32);
  cover.fill(Qt::darkCyan);
  ASSERT_TRUE(cover.save(pictures + "/00.Cover.jpg"));
  // The place stored for a short bar near the bottom edge.
  const QString section = SubMain::ComputerSectionName();
  platform::WriteProfileString(program.settingsPath(), section, "WindowX", "800");
  platform::WriteProfileString(program.settingsPath(), section, "WindowY", "755");

  ASSERT_TRUE(program.start());
  const QString bar = program.waitForWindow();
  ASSERT_FALSE(bar.isEmpty()) << program.log().toStdString();
  QRect shown;
  EXPECT_TRUE(WaitUntil(
      [&] {
        shown = Geometry(server, bar);
        return shown.height() > 150;
      },
      5s));
  EXPECT_TRUE(kScreen.contains(shown)) << shown.x() << "," << shown.y() << " " << shown.width() << "x" << shown.height();
  EXPECT_EQ(shown.bottom(), kScreen.bottom()) << "moved up just enough";
  EXPECT_EQ(shown.x(), 800);
  // The stored place is the learner's: it changes only when the bar is dragged.
  EXPECT_EQ(platform::ReadProfileString(program.settingsPath(), section, "WindowY", "Error"), "755");
}

}  // namespace
