// The real program under Xvfb as a new user meets it: an empty profile, the program folder as the
// build leaves it. The first start writes the hand-over file and the defaults, so a library
// without settings plays as a visible bar, wholly on the screen; a later start writes nothing.
// A maintenance program that ran before does not take the first start's place, and a start
// afresh in the other language keeps the libraries registered since.
// A bar whose rows grow past the screen's edge is moved in.
#include "bar/SubMain.h"
#include "libraries/library_list.h"
#include "platform/app/folders.h"
#include "platform/ini/ini.h"
#include "tests/support/library_files.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_folders.h"
#include "tests/support/window_geometry.h"
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QImage>
#include <QRect>

#include <optional>

namespace {

using namespace testing_support;

const QRect kScreen(0, 0, 1280, 800);  // the test server's screen

// The window's place and size as the X server has it; empty when the server does not know it.
QRect Geometry(const XvfbServer& server, const QString& window) {
  return WindowGeometry(server.display(), window).value_or(QRect());
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
  program.setLocale("en_US.UTF-8");
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

TEST(FirstStartX11, AMaintenanceProgramThatRanFirstLeavesTheFirstStartToTheProgram) {
  XvfbServer server;
  ASSERT_TRUE(server.running()) << server.error().toStdString();
  ProgramRun program(server, Profile::Fresh);
  program.setLocale("en_US.UTF-8");
  program.writeLibrary(ThreeWords());
  // The file-type registration writes its result into a CORVELSETUP.ini it creates.
  QProcess registration;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("USERPROFILE", program.profileFolder());
  environment.insert("HOME", program.profileFolder());
  environment.insert("XDG_DATA_HOME", program.profileFolder() + "/data");
  environment.insert("XDG_CONFIG_HOME", program.profileFolder() + "/config");
  registration.setProcessEnvironment(environment);
  registration.start(program.programFolder() + "/Vendrix2", {});
  ASSERT_TRUE(registration.waitForFinished(60000));
  const QString handOver = program.profileFolder() + "/CORVELSETUP.ini";
  const QString linkResult = platform::ReadProfileString(handOver, "VENDRIX", "LINKRESULT", "Error");
  ASSERT_NE(linkResult, "Error");

  ASSERT_TRUE(program.start());
  const QString bar = program.waitForWindow();
  ASSERT_FALSE(bar.isEmpty()) << program.log().toStdString();
  EXPECT_EQ(Geometry(server, bar).topLeft(), QPoint(390, 350)) << "the defaults show the bar in the middle";
  EXPECT_EQ(platform::ReadProfileString(handOver, "GLOBAL", "LANGUAGE", "Error"), "A");
  EXPECT_EQ(platform::ReadProfileString(handOver, "GLOBAL", "ISNEW", "Error"), "");
  EXPECT_EQ(platform::ReadProfileString(handOver, "VENDRIX", "LINKRESULT", "Error"), linkResult);
  EXPECT_EQ(platform::ReadProfileString(program.programFolder() + "/Settings.ini", "Global", "WordUILanguage", "Error"),
            "A");
}

TEST(FirstStartX11, StartingAfreshInTheOtherLanguageKeepsTheLibrariesRegisteredSince) {
  XvfbServer server;
  ASSERT_TRUE(server.running()) << server.error().toStdString();
  ProgramRun program(server, Profile::Fresh);
  program.setLocale("en_US.UTF-8");
  ASSERT_TRUE(program.startWithoutLibrary());
  ASSERT_FALSE(program.waitForWindow().isEmpty()) << program.log().toStdString();
  program.process()->stop();

  // A library added to the manager's list since.
  program.writeLibrary(ThreeWords());
  platform::SetProgramFolder(program.programFolder() + "/");
  const std::optional<AddedLibrary> added = AddLibraryEntry(program.libraryPath());
  platform::SetProgramFolder({});
  ASSERT_TRUE(added);
  const QString programList = program.programFolder() + "/TopicList.ini";
  ASSERT_TRUE(platform::ReadProfileSectionNames(programList).contains(added->section));

  // The README's way to the other language: delete CORVELSETUP.ini, start once with its locale.
  ASSERT_TRUE(QFile::remove(program.profileFolder() + "/CORVELSETUP.ini"));
  program.setLocale("zh_CN.UTF-8");
  ASSERT_TRUE(program.startWithoutLibrary());
  ASSERT_FALSE(program.waitForWindow().isEmpty()) << program.log().toStdString();

  EXPECT_EQ(platform::ReadProfileString(program.profileFolder() + "/CORVELSETUP.ini", "GLOBAL", "LANGUAGE", "Error"),
            "C");
  EXPECT_EQ(platform::ReadProfileString(program.programFolder() + "/Settings.ini", "Global", "WordUILanguage", "Error"),
            "C");
  EXPECT_EQ(platform::ReadProfileString(programList, added->section, "@", "Error"), program.libraryPath().section('/', 0, -2) + "/");
  const QStringList shipped = platform::ReadProfileSectionNames(QStringLiteral(LEXORN_APP_DIR "/TopicList.ini"));
  EXPECT_EQ(platform::ReadProfileSectionNames(programList), shipped + QStringList{added->section});
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
