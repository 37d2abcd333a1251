#include "core/read_ini_bas.h"

#include "core/vars_bas.h"
#include "platform/app/folders.h"
#include "platform/ini/ini.h"
#include "tests/support/temp_folders.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QGuiApplication>
#include <QScreen>

using testing_support::TempFolders;

namespace {

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetProgramFolder(folders_.programFolder());
    g_LibraryFolder = folders_.libraryFolder();
    g_LibraryFileName = "Travel.abc";
  }
  void TearDown() override {
    platform::SetProgramFolder({});
  }

  QString libraryFile() const { return folders_.libraryFolder() + "Travel.ini"; }
  QString programFile() const { return folders_.programFolder() + "Settings.ini"; }
  void library(const QByteArray& normalSection) const {
    TempFolders::writeFile(libraryFile(), "[Normal]\n" + normalSection);
  }
  void program(const QByteArray& globalSection) const {
    TempFolders::writeFile(programFile(), "[Global]\n" + globalSection);
  }

  TempFolders folders_;
};

TEST_F(SettingsTest, FileNamesFollowTheOpenLibraryAndTheFolders) {
  EXPECT_EQ(LibrarySettingsFile(), libraryFile());
  EXPECT_EQ(ProgramSettingsFile(), programFile());
  EXPECT_EQ(InstallerSettingsFile(), folders_.profileFolder() + "CORVELSETUP.ini");
}

TEST_F(SettingsTest, FlagIsOnOnlyForACapitalXFoundFirstInTheChain) {
  library("WordShowHour=\nWordShowMain=x\nWordWait=1\n");
  program("WordShowHour=X\nWordShowStatus=X\nWordShowMain=X\n");
  EXPECT_FALSE(ReadFlagSetting("WordShowHour")) << "an empty library value switches the flag off";
  EXPECT_TRUE(ReadFlagSetting("WordShowStatus"));
  EXPECT_FALSE(ReadFlagSetting("WordShowMain"));
  EXPECT_FALSE(ReadFlagSetting("WordWait"));
  EXPECT_FALSE(ReadFlagSetting("WordShowPicture"));
}

TEST_F(SettingsTest, ReadSettingTakesTheLibraryThenSettingsIniThenTheDefault) {
  library("WordFont=Arial;0:12\nWordSpeak=\n");
  program("WordFont=SimSun;0:9\nWordSegmentSize=60\nWordSpeak=2\n");
  EXPECT_EQ(ReadSetting("WordFont", "x"), "Arial;0:12");
  EXPECT_EQ(ReadSetting("WordSpeak", "1"), "");
  EXPECT_EQ(ReadSetting("WordSegmentSize", "30"), "60");
  EXPECT_EQ(ReadSetting("WordTargetPercentage", "66"), "66");
  EXPECT_EQ(ReadSetting("WordLearnMode", 1), "1");
}

TEST_F(SettingsTest, SymbolDefaultIsTrimmedAndWrittenBackIntoTheLibraryFile) {
  g_IniResult = 7;
  EXPECT_EQ(ReadSymbolSetting("WordGroupSymbolStart", " "), "");
  EXPECT_EQ(platform::ReadProfileString(libraryFile(), "Normal", "WordGroupSymbolStart", "Error"), "");
  EXPECT_EQ(g_IniValue, "");
  EXPECT_EQ(g_IniResult, 7) << "the write-back keeps no result";

  library("WordMeaningSymbolStart=\n");
  program("WordMeaningSymbolStart=<\n");
  EXPECT_EQ(ReadSymbolSetting("WordMeaningSymbolStart", "("), "(")
      << "an empty library value takes the default";
  EXPECT_EQ(platform::ReadProfileString(libraryFile(), "Normal", "WordMeaningSymbolStart", "Error"), "(");

  program("WordPhoneticSymbolEnd=\n");
  EXPECT_EQ(ReadSymbolSetting("WordPhoneticSymbolEnd", "]"), "]") << "an empty program value does not count";
  EXPECT_EQ(platform::ReadProfileString(libraryFile(), "Normal", "WordPhoneticSymbolEnd", "Error"), "]");
}

TEST_F(SettingsTest, SymbolFoundInAFileIsNotWritten) {
  program("WordPhoneticSymbolStart=[\n");
  EXPECT_EQ(ReadSymbolSetting("WordPhoneticSymbolStart", "{"), "[");
  EXPECT_FALSE(QFile::exists(libraryFile()));

  library("WordPhoneticSymbolStart=<\n");
  const QByteArray before = TempFolders::readFile(libraryFile());
  EXPECT_EQ(ReadSymbolSetting("WordPhoneticSymbolStart", "{"), "<");
  EXPECT_EQ(TempFolders::readFile(libraryFile()), before);
}

TEST_F(SettingsTest, NumberRoundsHalfToEvenAndKeepsTheCurrentValueForNonNumbers) {
  library("A=432.5\nB=433.5\nC=-2.5\nD= 12 \nE=abc\nF=\nG=99999999999\nH=nan\nI=12abc\n");
  EXPECT_EQ(ReadNumberSetting("A", 0), 432);
  EXPECT_EQ(ReadNumberSetting("B", 0), 434);
  EXPECT_EQ(ReadNumberSetting("C", 0), -2);
  EXPECT_EQ(ReadNumberSetting("D", 0), 12);
  for (const char* key : {"E", "F", "G", "H", "I", "Missing"}) {
    EXPECT_EQ(ReadNumberSetting(key, 16777215), 16777215) << key;
  }
}

TEST_F(SettingsTest, WithoutAnOpenLibraryOnlySettingsIniIsRead) {
  g_LibraryFolder.clear();
  g_LibraryFileName = "abc";
  program("WordSpeed=4\n");
  EXPECT_EQ(LibrarySettingsFile(), "");
  EXPECT_EQ(ReadNumberSetting("WordSpeed", 1), 4);
  EXPECT_EQ(ReadSymbolSetting("WordGroupSymbolEnd", " "), "");
  EXPECT_EQ(QDir(folders_.libraryFolder()).entryList(QDir::Files), QStringList());
  EXPECT_EQ(QDir(folders_.programFolder()).entryList(QDir::Files), QStringList{"Settings.ini"});
}

class DefaultSettingsTest : public SettingsTest {
 protected:
  // The keys of Settings.ini's Global section in file order.
  QStringList programKeys() const {
    QStringList keys;
    for (const QByteArray& line : TempFolders::readFile(programFile()).split('\n')) {
      if (line.contains('=')) keys << QString::fromUtf8(line.left(line.indexOf('=')));
    }
    return keys;
  }
  QString global(const QString& key) const {
    return platform::ReadProfileString(programFile(), "Global", key, "Error");
  }
};

TEST_F(DefaultSettingsTest, WritesEveryKeyInOrderWithItsDefault) {
  TempFolders::writeFile(folders_.profileFolder() + "CORVELSETUP.ini", "[GLOBAL]\nLANGUAGE=A\n");
  WriteDefaultSettings();

  const QStringList expectedKeys =
      QString(
          "WindowX WindowY WindowW WordDoSegment WordSegmentSize WordSegmentNo WordSpeed "
          "WordSpeak WordLearnMode WordKeyboardKill WordTargetPercentage WordFont WordWait "
          "WordShowMain WordShowStatus WordShowHour WordShowResize WordShowProgress "
          "WordShowSegNo WordShowCounter WordForeColor WordBackColor WordColorNull "
          "WordTransparent WordUILanguage WordGameScore WordMeaningBarPercent "
          "WordPhoneticSymbolStart WordPhoneticSymbolEnd WordGroupSymbolStart "
          "WordGroupSymbolEnd")
          .split(u' ');
  EXPECT_EQ(programKeys(), expectedKeys);

  const QScreen* screen = QGuiApplication::primaryScreen();
  const QSize size = screen != nullptr ? screen->geometry().size() : QSize(1024, 768);
  EXPECT_EQ(global("WindowX"), QString::number((size.width() - 500) / 2.0));
  EXPECT_EQ(global("WindowY"), QString::number((size.height() - 100) / 2.0));
  EXPECT_EQ(global("WindowW"), "400");
  EXPECT_EQ(global("WordSegmentNo"), "0001");
  EXPECT_EQ(global("WordFont"), "Arial;0:12");
  EXPECT_EQ(global("WordShowCounter"), "X");
  EXPECT_EQ(global("WordBackColor"), "16777215");
  EXPECT_EQ(global("WordColorNull"), "");
  EXPECT_EQ(global("WordUILanguage"), "A");
  EXPECT_EQ(global("WordGameScore"), "99 00:59:00");
  EXPECT_EQ(global("WordPhoneticSymbolEnd"), "]");
  EXPECT_EQ(global("WordGroupSymbolEnd"), "");
  EXPECT_EQ(g_IniValue, "");
  EXPECT_NE(g_IniResult, 0);
  EXPECT_FALSE(QFile::exists(libraryFile()));
}

TEST_F(DefaultSettingsTest, LanguageIsErrorWithoutTheInstallerKeyAndExistingKeysAreOverwritten) {
  program("WordSpeed=9\nMyOwnKey=kept\n");
  WriteDefaultSettings();
  EXPECT_EQ(global("WordUILanguage"), "Error");
  EXPECT_EQ(global("WordSpeed"), "5");
  EXPECT_EQ(global("MyOwnKey"), "kept");
}

}  // namespace
