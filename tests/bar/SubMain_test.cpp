#include "bar/SkolvaneBar.h"
#include "bar/SubMain.h"
#include "core/vars_bas.h"
#include "libraries/frmManager.h"
#include "platform/app/folders.h"
#include "platform/ini/ini.h"
#include "tests/support/read_only_folder.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/temp_folders.h"

#include <gtest/gtest.h>

namespace {

using testing_support::TempFolders;

class StartUp : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetProgramFolder(folders.programFolder());
  }
  void TearDown() override {
    platform::UnloadAllForms();
    platform::SetProgramFolder({});
  }

  QString installerFile() const { return folders.profileFolder() + "CORVELSETUP.ini"; }
  // A library of the test's own: the bar's start puts its lock file beside it.
  QString quotedLibrary() const { return "\"" + folders.libraryFolder() + "Verbs.abc\""; }
  void start(const QString& commandLine) {
    g_CommandLine = commandLine;
    SubMain::Main();
  }

  TempFolders folders;
  testing_support::ScopedRecordingDialogs dialogs;
};

TEST_F(StartUp, QuotedLibraryPathOpensTheBarWithTheSplitPath) {
  start("\"/home/learner/Words/Verbs.abc\"");
  EXPECT_EQ(g_LibraryPath, "/home/learner/Words/Verbs.abc");
  EXPECT_EQ(g_LibraryFolder, "/home/learner/Words/");
  EXPECT_EQ(g_LibraryFileName, "Verbs.abc");
  EXPECT_EQ(g_LibraryTitle, "Verbs.abc");
  EXPECT_TRUE(SkolvaneBar::loaded());
  EXPECT_FALSE(frmManager::loaded());
  EXPECT_FALSE(g_ComputerSection.isEmpty());
}

TEST_F(StartUp, UnquotedPathStillOpens) {
  start("/home/learner/My Words/Verbs.abc");
  EXPECT_EQ(g_LibraryPath, "/home/learner/My Words/Verbs.abc");
  EXPECT_EQ(g_LibraryFileName, "Verbs.abc");
  EXPECT_EQ(SubMain::LibraryPathFromCommandLine("\""), "\"");  // one character: nothing to cut
  EXPECT_EQ(SubMain::CommandLineFromArguments({"prog", "/a b/c.abc"}), "/a b/c.abc");
}

TEST_F(StartUp, EmptyCommandLineShowsTheManagerAndTakesTheInstallerLanguage) {
  platform::WriteProfileString(installerFile(), "GLOBAL", "LANGUAGE", "A");
  start("");
  EXPECT_TRUE(frmManager::loaded());
  EXPECT_FALSE(SkolvaneBar::loaded());
  EXPECT_EQ(g_UILanguage, "A");
  EXPECT_TRUE(g_LibraryPath.isEmpty());
}

TEST_F(StartUp, LanguageAlreadyChosenIsKept) {
  platform::WriteProfileString(installerFile(), "GLOBAL", "LANGUAGE", "A");
  g_UILanguage = "C";
  start("");
  EXPECT_EQ(g_UILanguage, "C");
}

TEST_F(StartUp, FirstStartWritesDefaultsClearsTheMarkAndInstallsTheLibraryList) {
  platform::WriteProfileString(installerFile(), "GLOBAL", "ISNEW", "1");
  TempFolders::writeFile(folders.profileFolder() + "TopicList.ini", "[AC_Verbs]\n@=/lib/\n");
  TempFolders::writeFile(folders.programFolder() + "TopicList.ini", "old");

  start(quotedLibrary());
  EXPECT_EQ(platform::ReadProfileString(folders.programFolder() + "Settings.ini", "Global", "WindowW", "Error"), "400");
  EXPECT_EQ(platform::ReadProfileString(installerFile(), "GLOBAL", "ISNEW", "Error"), "");
  EXPECT_EQ(TempFolders::readFile(folders.programFolder() + "TopicList.ini"), "[AC_Verbs]\n@=/lib/\n");
  EXPECT_TRUE(dialogs->messages.empty());

  // The next start skips the hand-over: a changed list in the profile is not copied again.
  TempFolders::writeFile(folders.profileFolder() + "TopicList.ini", "changed");
  platform::UnloadAllForms();
  start(quotedLibrary());
  EXPECT_EQ(TempFolders::readFile(folders.programFolder() + "TopicList.ini"), "[AC_Verbs]\n@=/lib/\n");
}

TEST_F(StartUp, FailedListCopyIsReportedAndKeepsTheOldList) {
  platform::WriteProfileString(installerFile(), "GLOBAL", "ISNEW", "yes");
  TempFolders::writeFile(folders.programFolder() + "TopicList.ini", "old");
  start(quotedLibrary());
  ASSERT_EQ(dialogs->messages.size(), 1u);
  EXPECT_TRUE(dialogs->messages[0].text.contains("TopicList.ini"));
  EXPECT_EQ(TempFolders::readFile(folders.programFolder() + "TopicList.ini"), "old");
  EXPECT_EQ(platform::ReadProfileString(installerFile(), "GLOBAL", "ISNEW", "Error"), "");
}

TEST_F(StartUp, AFailedFirstStartKeepsTheInstallersLanguageForTheManager) {
  platform::WriteProfileString(installerFile(), "GLOBAL", "ISNEW", "1");
  platform::WriteProfileString(installerFile(), "GLOBAL", "LANGUAGE", "A");
  TempFolders::writeFile(folders.profileFolder() + "TopicList.ini", "[AC_Verbs]\n");
  TempFolders::writeFile(folders.programFolder() + "TopicList.ini", "old");
  {
    // Neither Settings.ini nor the list can be written; the report of it must not fix the
    // language the manager then opens in.
    testing_support::ScopedReadOnlyFolder readOnly(folders.programFolder());
    start("");
  }
  EXPECT_EQ(dialogs->messages.size(), 1u);
  EXPECT_EQ(g_UILanguage, "A");
  EXPECT_TRUE(frmManager::loaded());
}

TEST_F(StartUp, EmptyMarkMeansNoFirstStart) {
  platform::WriteProfileString(installerFile(), "GLOBAL", "ISNEW", "");
  start(quotedLibrary());
  EXPECT_FALSE(QFile::exists(folders.programFolder() + "Settings.ini"));
  EXPECT_TRUE(dialogs->messages.empty());
}

TEST(ComputerSection, IsStableAndAValidSectionName) {
  const QString name = SubMain::ComputerSectionName();
  EXPECT_EQ(name, SubMain::ComputerSectionName());
  EXPECT_GT(name.size(), 3);
  EXPECT_FALSE(name.contains(']'));
  EXPECT_FALSE(name.contains('['));
  EXPECT_FALSE(name.contains('='));
}

}  // namespace
