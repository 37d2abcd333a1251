// The program's own temporary names, and the start-up removal of those a dead process left.

#include "platform/files/entry_swap.h"
#include "platform/files/own_temporary_names.h"
#include "platform/files/private_folder.h"
#include "tests/support/temp_folders.h"

#include <gtest/gtest.h>

#include <QDir>

#include <unistd.h>

namespace {

using platform::ParseTemporaryName;
using platform::TemporaryKind;
using testing_support::TempFolders;

TEST(OwnTemporaryNames, OnlyTheProgramsOwnPatternIsRecognised) {
  const QString ours = platform::TemporaryNameStem("TopicList.ini", TemporaryKind::Write) + "abc123";
  struct Case {
    QString name;
    bool recognised;
  };
  const Case cases[] = {
      {ours, true},
      {".Words.abc.4242.download-Xy12Zq", true},
      {".lexorn.7.unpack-AbCdEf", true},
      {".Words.abc.4242.download-Xy1", false},   // too short a random part
      {"Words.abc.4242.download-Xy12Zq", false},  // not hidden
      {".Words.abc.download-Xy12Zq", false},      // no process id
      {".Words.abc.4242.backup-Xy12Zq", false},   // not a kind of ours
      {".bashrc", false},
      {".Words.abc.tmp", false},
  };
  for (const Case& test : cases) EXPECT_EQ(ParseTemporaryName(test.name).has_value(), test.recognised) << test.name.toStdString();
  EXPECT_EQ(ParseTemporaryName(ours)->pid, static_cast<long long>(::getpid()));
}

TEST(OwnTemporaryNames, StaleEntriesOfDeadProcessesGoAndEverythingElseStays) {
  TempFolders folders;
  const QString folder = folders.libraryFolder();
  // A process id that is certainly gone: above the kernel's limit.
  const QString dead = QStringLiteral("4194399");
  TempFolders::writeFile(folder + ".Words.abc." + dead + ".tmp-0000abcdef", "half");
  TempFolders::writeFile(folder + ".Words.abc." + dead + ".download-Ab12Cd", "partial");
  TempFolders::writeFile(folder + ".lexorn." + dead + ".unpack-Qw12Er/files/Lib.abc", "unpacked");
  TempFolders::writeFile(folder + ".lexorn." + dead + ".download-Qw12Er/x", "a folder where a file belongs");
  const platform::PrivateFolder running(folder);  // this process's own: in use
  TempFolders::writeFile(folder + ".bashrc", "mine");
  TempFolders::writeFile(folder + "Words.abc", "library");

  EXPECT_EQ(platform::RemoveStaleTemporaryFiles({folder, folders.programFolder() + "missing/"}), 3);
  QStringList left = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
  EXPECT_EQ(left.size(), 4);
  EXPECT_TRUE(left.contains(".bashrc"));
  EXPECT_TRUE(left.contains("Words.abc"));
  EXPECT_TRUE(left.contains(QDir(running.path()).dirName()));
}

TEST(EntrySwap, MovesExchangeLikeKindsRefuseOtherKindsAndRollBackExactly) {
  TempFolders folders;
  const QString prepared = folders.programFolder();
  const QString target = folders.libraryFolder();
  TempFolders::writeFile(prepared + "Lib.abc", "new library");
  TempFolders::writeFile(prepared + "Lib.JPG/new.jpg", "new");
  TempFolders::writeFile(prepared + "Lib.dic/x", "folder");
  TempFolders::writeFile(prepared + "Lib.ini", "new settings");
  TempFolders::writeFile(target + "Lib.abc", "old library");
  TempFolders::writeFile(target + "Lib.JPG/old.jpg", "old");
  TempFolders::writeFile(target + "Lib.dic", "a file");

  platform::EntrySwap swap;
  EXPECT_TRUE(swap.move(prepared + "Lib.abc", target + "Lib.abc"));
  EXPECT_TRUE(swap.move(prepared + "Lib.JPG", target + "Lib.JPG"));
  EXPECT_TRUE(swap.move(prepared + "Lib.ini", target + "Lib.ini"));
  QString reason;
  EXPECT_FALSE(swap.move(prepared + "Lib.dic", target + "Lib.dic", &reason));  // a folder never replaces a file
  EXPECT_FALSE(reason.isEmpty());
  EXPECT_EQ(TempFolders::readFile(target + "Lib.abc"), "new library");
  EXPECT_TRUE(QFile::exists(target + "Lib.JPG/new.jpg"));
  EXPECT_FALSE(QFile::exists(target + "Lib.JPG/old.jpg"));

  swap.rollback();
  EXPECT_EQ(TempFolders::readFile(target + "Lib.abc"), "old library");
  EXPECT_TRUE(QFile::exists(target + "Lib.JPG/old.jpg"));
  EXPECT_FALSE(QFile::exists(target + "Lib.ini"));
  EXPECT_EQ(TempFolders::readFile(target + "Lib.dic"), "a file");
  EXPECT_EQ(TempFolders::readFile(prepared + "Lib.abc"), "new library");
  EXPECT_EQ(TempFolders::readFile(prepared + "Lib.ini"), "new settings");
}

}  // namespace
