// Opening the bar on a library: one bar per library, a stale lock taken over, and the bar shown
// when WordShowMain is off but there is no tray icon to reach the menu by.
#include "bar/SkolvaneBar.h"
#include "bar/SkolvaneBar_open.h"
#include "bar/library_lock.h"
#include "core/do_loading_bas.h"
#include "core/vars_bas.h"
#include "platform/app/folders.h"
#include "platform/ini/ini.h"
#include "tests/support/library_files.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/temp_folders.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>

namespace {

using testing_support::TempFolders;

class OpenBar : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetProgramFolder(folders.programFolder());
    TempFolders::writeFile(folders.programFolder() + "LANG_A.dat",
                           "[library_lock]\r\nLibraryInUse=Busy: %1\r\n");
    openLibrary("Words.abc", "X");
  }
  void TearDown() override {
    platform::UnloadAllForms();
    UnlockLibrary();
    platform::SetProgramFolder({});
  }

  // Writes a library of that name with English texts and the show flag, and names it open.
  void openLibrary(const QString& name, const QString& showMain) {
    TempFolders::writeFile(folders.libraryFolder() + name, testing_support::LibraryBytes(QStringList{"{AC}", "a@x"}));
    const QString settings = folders.libraryFolder() + name.chopped(4) + ".ini";
    platform::WriteProfileString(settings, "Normal", "WordUILanguage", "A");
    platform::WriteProfileString(settings, "Normal", "WordShowMain", showMain);
    g_LibraryFolder = folders.libraryFolder();
    g_LibraryFileName = name;
    g_LibraryPath = g_LibraryFolder + name;
  }

  TempFolders folders;
  testing_support::ScopedRecordingDialogs dialogs;
};

TEST_F(OpenBar, ALibraryAnotherBarHoldsIsRefusedWithAMessageInTheInterfaceLanguage) {
  QLockFile otherBar(LibraryLockPath(g_LibraryPath));
  ASSERT_TRUE(otherBar.tryLock(0));

  EXPECT_FALSE(OpenLibraryBar());
  EXPECT_FALSE(SkolvaneBar::loaded());
  ASSERT_EQ(dialogs->messages.size(), 1u);
  EXPECT_EQ(dialogs->messages[0].text, "Busy: " + g_LibraryPath);

  // Another library opens beside it, and once the other bar has gone this one opens too.
  openLibrary("Other.abc", "X");
  EXPECT_TRUE(OpenLibraryBar());
  SkolvaneBar::unload();
  otherBar.unlock();
  openLibrary("Words.abc", "X");
  EXPECT_TRUE(OpenLibraryBar());
  EXPECT_TRUE(SkolvaneBar::instance().isVisible());
  EXPECT_TRUE(QFile::exists(LibraryLockPath(g_LibraryPath)));
  SkolvaneBar::unload();
  EXPECT_FALSE(QFile::exists(LibraryLockPath(g_LibraryPath))) << "the bar's unload gives the library up";
  EXPECT_EQ(dialogs->messages.size(), 1u);
}

TEST_F(OpenBar, ALibraryWhoseNameFillsTheFileSystemLimitIsLockedApartFromItsNeighbour) {
  // 250 bytes each: 82 Chinese characters and ".abc"; the two differ only in their last character.
  const QString start(81, QChar(0x8BCD));
  const QString neighbour = start + QChar(0x4E8C) + ".abc";
  openLibrary(neighbour, "X");
  const QString neighbourLock = LibraryLockPath(g_LibraryPath);
  openLibrary(start + QChar(0x4E00) + ".abc", "X");
  ASSERT_EQ(g_LibraryFileName.toUtf8().size(), 250);

  ASSERT_TRUE(OpenLibraryBar());
  EXPECT_TRUE(QFile::exists(LibraryLockPath(g_LibraryPath))) << "the library is held";
  QLockFile neighbourBar(neighbourLock);
  EXPECT_TRUE(neighbourBar.tryLock(0)) << "its neighbour is not";
  SkolvaneBar::unload();
  EXPECT_FALSE(QFile::exists(LibraryLockPath(g_LibraryPath)));
  EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(OpenBar, ALockLeftByACrashedBarIsTakenOver) {
  // A bar that died without unlocking: its lock names a process that no longer runs, or was cut
  // short before it named any.
  for (const QByteArray& content :
       {QByteArray("4194000\nCorvel'sLexorn2\n") + QSysInfo::machineHostName().toUtf8() + "\n", QByteArray()}) {
    TempFolders::writeFile(LibraryLockPath(g_LibraryPath), content);
    EXPECT_TRUE(OpenLibraryBar()) << content.toStdString();
    SkolvaneBar::unload();
  }
  EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(OpenBar, ALibraryThatIsNoFileOrPastItsLimitsOpensNoBar) {
  TempFolders::writeFile(folders.programFolder() + "LANG_A.dat",
                         "[do_loading_bas]\r\nNotAFile=No file: %1 is %2\r\nKindFolder=a folder\r\n"
                         "TooManyLines=Too long: %1 (%2)\r\n");
  QStringList tooLong{"{AC}"};
  for (int i = 1; i < kMaxLibraryLines; ++i) tooLong << "w@x";
  openLibrary("Long.abc", "X");
  TempFolders::writeFile(g_LibraryPath, testing_support::LibraryBytes(tooLong + QStringList{"one more@x"}));
  const QByteArray longBefore = TempFolders::readFile(g_LibraryPath);
  openLibrary("Folder.abc", "X");
  QFile::remove(g_LibraryPath);
  ASSERT_TRUE(QDir().mkpath(g_LibraryPath));

  EXPECT_FALSE(OpenLibraryBar());
  openLibrary("Long.abc", "X");
  TempFolders::writeFile(g_LibraryPath, longBefore);
  EXPECT_FALSE(OpenLibraryBar());

  EXPECT_FALSE(SkolvaneBar::loaded());
  EXPECT_EQ(TempFolders::readFile(g_LibraryPath), longBefore);
  EXPECT_FALSE(QFile::exists(LibraryLockPath(g_LibraryPath))) << "the refused library is not held";
  ASSERT_EQ(dialogs->messages.size(), 2u);
  EXPECT_EQ(dialogs->messages[0].text, "No file: " + folders.libraryFolder() + "Folder.abc is a folder");
  EXPECT_EQ(dialogs->messages[1].text, "Too long: " + g_LibraryPath + " (32,768)");
}

TEST_F(OpenBar, WithWordShowMainOffAndNoTrayIconTheBarStillShows) {
  // Without a tray (this test's platform has none) the bar is the only way to its menu.
  openLibrary("Hidden.abc", "");
  ASSERT_TRUE(OpenLibraryBar());
  EXPECT_FALSE(g_ShowMain);
  EXPECT_TRUE(SkolvaneBar::instance().isVisible());
}

}  // namespace
