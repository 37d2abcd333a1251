#include "bar/SkolvaneBar.h"
#include "bar/SubMain.h"
#include "bar/SubMain_library_list.h"
#include "core/vars_bas.h"
#include "libraries/frmManager.h"
#include "platform/app/folders.h"
#include "platform/ini/ini.h"
#include "tests/support/read_only_folder.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/temp_folders.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

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

TEST_F(StartUp, AProfileNoInstallerSawGetsTheFirstStartOnceAndKeepsItsFilesAfterwards) {
  const QByteArray shippedList = "[AC_Verbs]\n@=/lib/\n";
  TempFolders::writeFile(folders.programFolder() + "TopicList.ini", shippedList);
  start("");
  EXPECT_TRUE(frmManager::loaded());
  EXPECT_TRUE(dialogs->messages.empty());
  EXPECT_EQ(platform::ReadProfileString(installerFile(), "GLOBAL", "ISNEW", "Error"), "");
  EXPECT_EQ(platform::ReadProfileString(installerFile(), "GLOBAL", "LANGUAGE", "Error"), SubMain::LanguageLetterOfLocale());
  EXPECT_EQ(g_UILanguage, SubMain::LanguageLetterOfLocale());
  EXPECT_EQ(TempFolders::readFile(folders.profileFolder() + "TopicList.ini"), shippedList);
  EXPECT_EQ(TempFolders::readFile(folders.programFolder() + "TopicList.ini"), shippedList);
  const QString settings = folders.programFolder() + "Settings.ini";
  EXPECT_EQ(platform::ReadProfileString(settings, "Global", "WordShowMain", "Error"), "X");
  EXPECT_EQ(platform::ReadProfileString(settings, "Global", "WordUILanguage", "Error"), SubMain::LanguageLetterOfLocale());

  // A second start writes nothing: every file keeps its bytes.
  const QByteArray settingsBytes = TempFolders::readFile(settings);
  const QByteArray handOverBytes = TempFolders::readFile(installerFile());
  platform::UnloadAllForms();
  g_UILanguage.clear();
  start("");
  EXPECT_EQ(TempFolders::readFile(settings), settingsBytes);
  EXPECT_EQ(TempFolders::readFile(installerFile()), handOverBytes);
  EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(StartUp, AnEnglishLocaleGivesTheManagerItsEnglishCaptions) {
  for (const char* file : {"LANG_A.dat", "LANG_C.dat"})
    QFile::copy(QStringLiteral(LEXORN_APP_DIR "/") + file, folders.programFolder() + file);
  const char* names[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
  std::vector<std::optional<QByteArray>> saved;
  for (const char* name : names) saved.push_back(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
  qunsetenv("LC_ALL");
  qunsetenv("LC_MESSAGES");
  qputenv("LANG", "en_US.UTF-8");
  g_UILanguage.clear();
  start("");
  for (std::size_t i = 0; i < saved.size(); ++i) {
    if (saved[i]) qputenv(names[i], *saved[i]);
    else qunsetenv(names[i]);
  }
  ASSERT_TRUE(frmManager::loaded());
  EXPECT_EQ(frmManager::instance().Lbl_List->caption(), "All libraries");
}

TEST_F(StartUp, AnInstallersFileIsNeverRewritten) {
  const QByteArray installed = "; written by an installer\r\n[GLOBAL]\r\nLANGUAGE=C\r\nLIBPATH=/srv/words\r\n";
  TempFolders::writeFile(installerFile(), installed);
  start(quotedLibrary());
  EXPECT_EQ(TempFolders::readFile(installerFile()), installed);
  EXPECT_FALSE(QFile::exists(folders.programFolder() + "Settings.ini"));
  EXPECT_FALSE(QFile::exists(folders.profileFolder() + "TopicList.ini"));
}

TEST_F(StartUp, AnUnwritableProfileIsReportedOnceAndTheProgramStillStarts) {
  {
    testing_support::ScopedReadOnlyFolder readOnly(folders.profileFolder());
    start("");
  }
  ASSERT_EQ(dialogs->messages.size(), 1u);
  EXPECT_TRUE(dialogs->messages[0].text.contains("CORVELSETUP.ini"));
  EXPECT_TRUE(frmManager::loaded());
  EXPECT_FALSE(QFile::exists(folders.programFolder() + "Settings.ini"));  // no first start without its mark
}

TEST_F(StartUp, AFileWithOnlyTheMaintenanceProgramsResultsStillGetsTheFirstStart) {
  const QByteArray results = "[VENDRIX]\nLINKRESULT=linked\n[ServerUpdate2]\nRESULT=It is latest\n";
  TempFolders::writeFile(installerFile(), results);
  TempFolders::writeFile(folders.programFolder() + "TopicList.ini", "[AC:Shipped]\n@=data/samples/\n");
  start("");
  EXPECT_EQ(platform::ReadProfileString(installerFile(), "GLOBAL", "LANGUAGE", "Error"), SubMain::LanguageLetterOfLocale());
  EXPECT_EQ(platform::ReadProfileString(installerFile(), "GLOBAL", "ISNEW", "Error"), "");
  EXPECT_EQ(platform::ReadProfileString(folders.programFolder() + "Settings.ini", "Global", "WordShowMain", "Error"), "X");
  EXPECT_EQ(platform::ReadProfileString(installerFile(), "VENDRIX", "LINKRESULT", "Error"), "linked");
  EXPECT_EQ(platform::ReadProfileString(installerFile(), "ServerUpdate2", "RESULT", "Error"), "It is latest");
  EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(StartUp, ARepeatedFirstStartKeepsEveryLibraryEitherListNames) {
  const QString programList = folders.programFolder() + "TopicList.ini";
  const QString profileList = folders.profileFolder() + "TopicList.ini";
  TempFolders::writeFile(programList, "[AC:Shipped]\n@=data/samples/\n");
  start("");
  // Since then: a library added, the shipped one deleted.
  platform::WriteProfileString(programList, "AC:Added", "@", "/home/learner/words/");
  platform::WriteProfileString(programList, "AC:Shipped", "@", "XXX");
  const QByteArray registered = TempFolders::readFile(programList);

  // Started afresh (no CORVELSETUP.ini): the program folder's list stays as it is.
  QFile::remove(installerFile());
  platform::UnloadAllForms();
  start("");
  EXPECT_EQ(TempFolders::readFile(programList), registered);
  EXPECT_EQ(TempFolders::readFile(profileList), registered);

  // An installer's list is installed over it; the libraries it lacks stay.
  TempFolders::writeFile(profileList, "[AC:Shipped]\n@=/opt/words/\n[EC:New]\n@=/opt/words/\n");
  platform::WriteProfileString(installerFile(), "GLOBAL", "ISNEW", "1");
  platform::UnloadAllForms();
  start("");
  EXPECT_EQ(TempFolders::readFile(programList),
            "[AC:Shipped]\n@=/opt/words/\n[EC:New]\n@=/opt/words/\n[AC:Added]\n@=/home/learner/words/\n");
  EXPECT_TRUE(dialogs->messages.empty());
}

TEST(LibraryListMerge, TheSectionsTheOtherListAddsKeepTheirLines) {
  const struct {
    const char* name;
    QByteArray preferred;
    QByteArray other;
    QByteArray missing;
  } cases[] = {
      {"nothing new", "[AC:A]\n@=/a/\n", "[AC:A]\n@=/elsewhere/\n", ""},
      {"letter case of the name", "[ac:a]\n", "[ AC:A ]\n@=/a/\n", ""},
      {"a new library with its lines", "[AC:A]\n", "[AC:A]\n@=/a/\n[AC:B]\n@=/b/\n#=X\n\n[AC:A]\n@=/c/\n",
       "[AC:B]\n@=/b/\n#=X\n\n"},
      {"lines before the first section", "", "; comment\n@=/x/\n[AC:B]\r\n@=/b/", "[AC:B]\r\n@=/b/\r\n"},
      {"a byte-order mark", "[AC:A]\n", "\xEF\xBB\xBF[AC:B]\n", "[AC:B]\n"},
      {"an empty other list", "[AC:A]\n", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SubMain::LibrarySectionsMissingFrom(c.preferred, c.other), c.missing) << c.name;
  }
}

TEST(LanguageOfLocale, TheFirstVariableSetDecides) {
  struct Case {
    const char* lcAll;
    const char* lcMessages;
    const char* lang;
    const char* letter;
  };
  const Case cases[] = {
      {"", "", "zh_CN.UTF-8", "C"}, {"", "", "zh_TW", "C"},          {"", "", "en_US.UTF-8", "A"},
      {"", "", "C.UTF-8", "A"},     {"", "", "", "A"},               {"en_GB.UTF-8", "", "zh_CN.UTF-8", "A"},
      {"zh_CN.UTF-8", "en_US", "en_US", "C"}, {"", "zh_HK.UTF-8", "de_DE", "C"}, {"", "", "ZH_cn", "A"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SubMain::LanguageLetterFromLocale(c.lcAll, c.lcMessages, c.lang), c.letter)
        << c.lcAll << "|" << c.lcMessages << "|" << c.lang;
  }
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
