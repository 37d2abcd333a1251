#include "libraries/DownloadLocationFile.h"
#include "libraries/ServerListFile.h"
#include "libraries/catalogue_download.h"

#include "platform/app/folders.h"
#include "tests/support/temp_folders.h"

#include <gtest/gtest.h>

#include <QFile>

#include <utime.h>

namespace {

using testing_support::TempFolders;

TEST(ServerListFile, CountsAndPartsTakeTheLeadingNumber) {
  const std::pair<const char*, int> cases[] = {{"12x", 12}, {"abc", 0}, {"Error", 0}, {"", 0}, {" 7 ", 7}, {"099", 99}};
  for (const auto& [text, number] : cases) EXPECT_EQ(LeadingNumber(text), number) << text;
}

TEST(ServerListFile, ReadsItemsWithTheirKeysAndDefaults) {
  TempFolders folders;
  const QString list = TempFolders::writeFile(folders.programFolder() + "list.ini",
                                              "[SC]\nVOLUMN=3\nFROM_FILENAME01=a.zip\nTO_FILENAME01=a.part1.zip\n"
                                              "DESC_C01=西班牙语\nPRICE_01=free\nFROM_FILENAME03=c.abc\n"
                                              "[RC]\nFROM_FILENAME01=r.abc\nVOLUMN=\n");
  const auto first = ReadServerListItem(list, "SC", 1, "C");
  ASSERT_TRUE(first);
  EXPECT_EQ(first->description, QStringLiteral("西班牙语"));
  EXPECT_EQ(first->parts, 3);
  EXPECT_FALSE(IsFreeItem(*first));  // only "FREE" is free
  EXPECT_FALSE(ReadServerListItem(list, "SC", 2, "C"));
  const auto third = ReadServerListItem(list, "SC", 3, "Error");
  ASSERT_TRUE(third);
  EXPECT_EQ(third->parts, 3);  // one VOLUMN for the whole section
  EXPECT_EQ(third->toFileName, "Error");
  EXPECT_EQ(third->price, "Error");
  EXPECT_EQ(ReadServerListItem(list, "RC", 1, "A")->parts, 1);
}

TEST(ServerListFile, AnItemIsCurrentOnlyWhenTheLocalFileIsLater) {
  TempFolders folders;
  const QString file = TempFolders::writeFile(folders.libraryFolder() + "Lib.abc", "x");
  const QDateTime modified(QDate(2009, 3, 5), QTime(8, 7, 9));
  const utimbuf times{modified.toSecsSinceEpoch(), modified.toSecsSinceEpoch()};
  ASSERT_EQ(utime(QFile::encodeName(file).constData(), &times), 0);
  const std::pair<const char*, bool> cases[] = {
      {"20090305_08:07:09", false},  // the same second: still downloadable
      {"20090305_08:07:08", true},
      {"20090305_08:07:10", false},
      {"Error", false},
  };
  for (const auto& [buildTime, current] : cases) EXPECT_EQ(IsAlreadyNew(buildTime, file), current) << buildTime;
  EXPECT_FALSE(IsAlreadyNew("20000101_00:00:00", folders.libraryFolder() + "None.abc"));
}

TEST(ServerListFile, OnlyBareTargetNamesAreAccepted) {
  const std::pair<const char*, bool> cases[] = {
      {"Lib.abc", true},         {"Lib.part1.zip", true}, {"../Lib.abc", false}, {"/tmp/Lib.abc", false},
      {"sub\\Lib.abc", false},   {"C:Lib.abc", false},    {"..", false},         {"", false},
      {".", false},              {"a..b.txt", true},      {"..Lib.abc", true},   {"Lib..", true},
  };
  for (const auto& [name, bare] : cases) EXPECT_EQ(IsBareFileName(name), bare) << name;
}

TEST(DownloadLocationFile, RedirectsOnlyWhenNewPathIsPresent) {
  TempFolders folders;
  platform::SetProgramFolder(folders.programFolder());
  const QString defaultList = QString::fromUtf16(kDefaultWebFolder) + "_ServerUpdate2.in_";
  EXPECT_EQ(CatalogueAddress(), defaultList);
  EXPECT_EQ(LibraryBaseAddress(), QString::fromUtf16(kDefaultWebFolder));

  TempFolders::writeFile(folders.programFolder() + "WebLibLocation.ini", "[DOWNLOADFROM]\nNewPath=Error\nNewFileName=x\n");
  EXPECT_EQ(CatalogueAddress(), defaultList);
  TempFolders::writeFile(folders.programFolder() + "WebLibLocation.ini", "[DOWNLOADFROM]\nNewPath=http://h/d/\n");
  EXPECT_EQ(CatalogueAddress(), "http://h/d/Error");
  TempFolders::writeFile(folders.programFolder() + "ServerLocation.ini", "[DOWNLOADFROM]\nNewPath=http://h/lib/\n");
  EXPECT_EQ(LibraryBaseAddress(), "http://h/lib/");
  platform::SetProgramFolder(QString());
}

}  // namespace
