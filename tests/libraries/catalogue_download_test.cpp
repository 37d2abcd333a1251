// One catalogue item at a time against a loopback server, the way an unlucky or hostile server
// would send it: whatever fails, the target folder is byte for byte what it was, and no temporary
// file or folder is left behind. What succeeds replaces only the item's own files.

#include "core/vars_bas.h"
#include "libraries/catalogue_download.h"
#include "libraries/stale_download_files.h"
#include "platform/app/folders.h"
#include "platform/files/entry_swap.h"
#include "platform/files/own_temporary_names.h"
#include "platform/ini/ini.h"
#include "tests/support/folder_content.h"
#include "tests/support/library_files.h"
#include "tests/support/loopback_http_server.h"
#include "tests/support/raw_zip.h"
#include "tests/support/skip_log.h"
#include "tests/support/small_file_system.h"
#include "tests/support/temp_folders.h"
#include "tests/support/zip_builder.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

#include <csignal>

namespace {

using testing_support::BuildRawZip;
using testing_support::BuildZip;
using testing_support::FolderContent;
using testing_support::LibraryBytes;
using testing_support::LoopbackHttpServer;
using testing_support::ManyEmptyEntries;
using testing_support::RawEnd;
using testing_support::RawEntry;
using testing_support::RawZipEnd;
using testing_support::RawZipEntry;
using testing_support::SmallFileSystem;
using testing_support::TempFolders;
using testing_support::ZipEntry;

QByteArray Library(const QString& code, const QString& word) { return LibraryBytes(QStringList{"{" + code + "}", word}); }

// A library of `bytes` bytes of varied words, so that it packs about as well as a real one.
QByteArray LargeLibrary(qsizetype bytes) {
  QRandomGenerator random(24);
  QString text = QStringLiteral("{AC}\r\n");
  while (text.size() * 2 < bytes) {
    QString word;
    for (int letter = 0; letter < 8; ++letter) word += QChar(u'a' + random.bounded(26));
    text += word + QStringLiteral("@[") + word.left(4) + QStringLiteral("]n. ") + QString::number(random.generate()) +
            QStringLiteral("\r\n");
  }
  return LibraryBytes(text);
}

// A zip whose stored data no longer matches its checksum: one byte of the content flipped.
QByteArray CorruptedZip(const QByteArray& content) {
  QByteArray zip = BuildZip({{"Lib.abc", content}});
  const qsizetype middle = zip.indexOf("Lib.abc") + 7 + 40;
  zip[middle] = static_cast<char>(zip[middle] ^ 0x55);
  return zip;
}

class CatalogueDownloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetProgramFolder(folders_.programFolder());
    target_ = folders_.libraryFolder();
    g_CurrentSection.clear();
    // The learner's folder as it stands: an older Lib with settings and pictures, and another library.
    TempFolders::writeFile(target_ + "Lib.abc", Library("AC", "old@n. 旧"));
    TempFolders::writeFile(target_ + "Lib.ini", "[Statistics]\n20090305=12\n");
    TempFolders::writeFile(target_ + "Lib.JPG/old.jpg", "old picture");
    TempFolders::writeFile(target_ + "Other.abc", Library("AC", "other@n. 别的"));
    TempFolders::writeFile(target_ + "Other.ini", "[Normal]\nWordSpeed=3\n");
    TempFolders::writeFile(target_ + "Victim.abc", Library("AC", "victim@n. 受害者"));
    TempFolders::writeFile(target_ + "Lib.txt", "notes");
  }
  void TearDown() override { platform::SetProgramFolder(QString()); }

  ItemOutcome download(const QString& to, const QByteArray& body, int parts = 1) {
    server_.serve("/lib/" + to, body);
    CatalogueDownload run(server_.url("/lib/"), target_);
    return run.download(WebLibItem{"1", to, to, "Item " + to, parts});
  }
  QString topic(const QString& section) const {
    return platform::ReadProfileString(folders_.programFolder() + "TopicList.ini", section, "@", "Error");
  }

  TempFolders folders_;
  LoopbackHttpServer server_;
  QString target_;
};

TEST_F(CatalogueDownloadTest, EveryFailureLeavesTheTargetFolderByteForByte) {
  QByteArray manyEntries;
  {
    std::vector<ZipEntry> entries{{"Lib.abc", Library("AC", "new@n. 新")}};
    for (int i = 0; i < 10001; ++i) entries.push_back({QStringLiteral("Lib.JPG/%1.jpg").arg(i), "j"});
    manyEntries = BuildZip(entries);
  }
  const QByteArray goodLibrary = Library("AC", "new@n. 新");
  const QByteArray bigLibrary = LargeLibrary(200000);
  QByteArray truncated = BuildZip({{"Lib.abc", bigLibrary}});
  truncated.truncate(truncated.size() / 2);
  struct Case {
    const char* what;
    QString to;
    QByteArray body;
    ItemFailure failure;
  };
  const Case cases[] = {
      {"five bytes are no library", "Lib.abc", "hello", ItemFailure::NotALibrary},
      {"a page is no library", "Lib.abc", LibraryBytes(QStringLiteral("<html>")), ItemFailure::NotALibrary},
      {"damaged checksum", "Lib.zip", CorruptedZip(bigLibrary), ItemFailure::Damaged},
      {"cut-off archive", "Lib.zip", truncated, ItemFailure::Damaged},
      {"not a zip", "Lib.zip", "<html>404</html>", ItemFailure::Damaged},
      {"other libraries instead", "Lib.zip",
       BuildZip({{"Other.abc", Library("AC", "evil")}, {"Other.ini", "evil"}}), ItemFailure::NoLibraryFile},
      {"archived non-library", "Lib.zip", BuildZip({{"Lib.abc", "plain text"}}), ItemFailure::NotALibrary},
      {"entry leaving the folder", "Lib.zip",
       BuildZip({{"Lib.abc", goodLibrary}, {"../Other.abc", "evil"}}), ItemFailure::UnsafeArchive},
      {"two entries of one name", "Lib.zip",
       BuildZip({{"Lib.abc", goodLibrary}, {"Lib.abc", Library("AC", "second")}}), ItemFailure::DuplicateEntry},
      {"a folder in place of a file", "Lib.zip",
       BuildZip({{"Lib.abc", goodLibrary}, {"Lib.txt/", {}, ZipEntry::Folder}}), ItemFailure::KindClash},
      {"a file in place of a folder", "Lib.zip",
       BuildZip({{"Lib.abc", goodLibrary}, {"Lib.JPG", "file"}}), ItemFailure::KindClash},
      {"zip bomb", "Lib.zip", BuildZip({{"Lib.abc", goodLibrary}, {"Lib.dat", QByteArray(30 << 20, 0)}}),
       ItemFailure::RatioTooHigh},
      {"too many entries", "Lib.zip", manyEntries, ItemFailure::TooManyEntries},
      {"missing second part", "Lib.part1.zip", BuildZip({{"Lib.abc", goodLibrary}}), ItemFailure::Download},
      {"unsafe name", "../Lib.abc", goodLibrary, ItemFailure::BadFileName},
      {"a code the list cannot hold", "Lib.abc", Library("]C", "x"), ItemFailure::ListWriteFailed},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    const QMap<QString, QByteArray> before = FolderContent(target_);
    const ItemOutcome outcome = download(test.to, test.body, test.to.contains(".part1") ? 2 : 1);
    EXPECT_EQ(outcome.failure, test.failure) << outcome.detail.toStdString();
    EXPECT_EQ(FolderContent(target_), before);
    EXPECT_EQ(topic("AC:Lib"), "Error");
  }
  EXPECT_FALSE(QFile::exists(folders_.programFolder() + "Updatelog2.ini"));
}

TEST_F(CatalogueDownloadTest, AnArchiveOverTheEntryLimitIsRefusedWhateverItsEndRecordSaysAndChangesNothing) {
  const QByteArray newLibrary = Library("AC", "new@n. 新");
  std::vector<RawZipEntry> many = ManyEmptyEntries(12000, "Lib.JPG/");
  many.insert(many.begin(), RawEntry("Lib.abc", newLibrary));
  const std::vector<RawZipEntry> few{RawEntry("Lib.abc", newLibrary), RawEntry("Lib.JPG/new.jpg", "new picture")};
  struct Case {
    const char* what;
    const std::vector<RawZipEntry>& entries;
    RawZipEnd end;
    ItemFailure failure;
  };
  const Case cases[] = {
      {"the record counts them", many, RawEnd({}, {}, false), ItemFailure::TooManyEntries},
      {"a zip64 record counts them", many, RawEnd({}, {}, true), ItemFailure::TooManyEntries},
      {"a comment and stray bytes follow", many, RawEnd({}, {}, false, "comment", QByteArray(20000, 'x')),
       ItemFailure::TooManyEntries},
      {"the record lowers the count", many, RawEnd(10, {}, false), ItemFailure::TooManyEntries},
      {"the zip64 record lowers count and size", many, RawEnd(10, 460, true), ItemFailure::TooManyEntries},
      {"the record declares no entries", many, RawEnd(0, {}, false), ItemFailure::TooManyEntries},
      {"junk before the directory", many, RawEnd({}, {}, false, {}, {}, "junk"), ItemFailure::TooManyEntries},
      {"within the limit, zip64 and a comment", few, RawEnd({}, {}, true, "comment"), ItemFailure::None},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    QMap<QString, QByteArray> expected = FolderContent(target_);
    const QByteArray zip = BuildRawZip(test.entries, test.end);
    const ItemOutcome outcome = download("Lib.zip", zip);
    EXPECT_EQ(outcome.failure, test.failure) << outcome.detail.toStdString();
    if (outcome.ok()) {
      expected["Lib.abc"] = newLibrary;
      expected.remove("Lib.JPG/old.jpg");
      expected["Lib.JPG/new.jpg"] = "new picture";
      expected["Lib.zip"] = zip;
    }
    EXPECT_EQ(FolderContent(target_), expected);
  }
}

TEST_F(CatalogueDownloadTest, AnUpdateReplacesOnlyTheItemsOwnFilesAndKeepsTheLearnersSettings) {
  const QByteArray newLibrary = Library("AC", "new@n. 新");
  const QByteArray zip = BuildZip({{"Lib.abc", newLibrary},
                                   {"Lib.ini", "[Normal]\nWordSpeed=9\n"},
                                   {"Lib.JPG/", {}, ZipEntry::Folder},
                                   {"Lib.JPG/new.jpg", "new picture"},
                                   {"Lib.JPG/新图.jpg", "named in GBK"},
                                   {"Other.abc", Library("AC", "evil")},
                                   {"Victim.abc/", {}, ZipEntry::Folder}},
                                  testing_support::ZipNames::Gbk);
  QMap<QString, QByteArray> expected = FolderContent(target_);
  const ItemOutcome outcome = download("Lib.zip", zip);
  ASSERT_TRUE(outcome.ok()) << outcome.detail.toStdString();

  expected["Lib.abc"] = newLibrary;
  expected.remove("Lib.JPG/old.jpg");
  expected["Lib.JPG/new.jpg"] = "new picture";
  expected["Lib.JPG/新图.jpg"] = "named in GBK";
  expected["Lib.zip"] = zip;  // kept, so the catalogue can tell the item is current
  EXPECT_EQ(FolderContent(target_), expected);
  EXPECT_EQ(topic("AC:Lib"), target_);
  EXPECT_EQ(g_CurrentSection, "AC:Lib");
  EXPECT_TRUE(TempFolders::readFile(folders_.programFolder() + "Updatelog2.ini").contains("File=Lib.zip->"));
}

TEST_F(CatalogueDownloadTest, ALibraryWhoseFileNameIs250BytesIsDownloadedOverItsOldFilesWithAndWithoutTheExchange) {
  const QString name = QString(123, u'w') + QString(41, u'词');  // "<name>.abc": 250 bytes
  for (const bool exchange : {true, false}) {
    SCOPED_TRACE(exchange ? "with the exchange" : "without the exchange");
    platform::SetMoveCallSeamForTesting([exchange](platform::MoveCall call) {
      return exchange || call != platform::MoveCall::Exchange;
    });
    TempFolders::writeFile(target_ + name + ".abc", Library("AC", "old@n. 旧"));
    TempFolders::writeFile(target_ + name + ".JPG/old.jpg", "old picture");
    const QByteArray newLibrary = Library("AC", "new@n. 新");
    const QByteArray zip = BuildZip({{name + ".abc", newLibrary}, {name + ".JPG/new.jpg", "new picture"}});
    QMap<QString, QByteArray> expected = FolderContent(target_);
    server_.serve("/lib/long.zip", zip);
    const ItemOutcome outcome =
        CatalogueDownload(server_.url("/lib/"), target_).download(WebLibItem{"1", "long.zip", name + ".zip", "Long", 1});
    platform::SetMoveCallSeamForTesting({});
    ASSERT_TRUE(outcome.ok()) << outcome.detail.toStdString();
    expected[name + ".abc"] = newLibrary;
    expected.remove(name + ".JPG/old.jpg");
    expected[name + ".JPG/new.jpg"] = "new picture";
    expected[name + ".zip"] = zip;
    EXPECT_EQ(FolderContent(target_), expected);
  }
}

TEST_F(CatalogueDownloadTest, AListOrLogThatCannotBeWrittenPutsTheOldLibraryBack) {
  for (const QString blocked : {"TopicList.ini", "Updatelog2.ini"}) {
    SCOPED_TRACE(blocked.toStdString());
    QDir().mkpath(folders_.programFolder() + blocked);  // a folder where the file belongs: writes fail
    const QMap<QString, QByteArray> before = FolderContent(target_);
    const ItemOutcome outcome = download("Lib.abc", Library("AC", "new@n. 新"));
    EXPECT_EQ(outcome.failure, blocked == "TopicList.ini" ? ItemFailure::ListWriteFailed : ItemFailure::LogWriteFailed);
    EXPECT_EQ(FolderContent(target_), before);
    EXPECT_EQ(topic("AC:Lib"), "Error");
    QDir(folders_.programFolder() + blocked).removeRecursively();
  }
}

TEST_F(CatalogueDownloadTest, AFullDiskIsReportedAsSuchAndChangesNothing) {
  SmallFileSystem disk(3 * 1024);
  if (!disk.mounted()) SKIP_AS_THE_MACHINE_LACKS("a tmpfs mount of its own: " << disk.error().toStdString());
  target_ = disk.folder();
  TempFolders::writeFile(target_ + "Lib.abc", LargeLibrary(1 << 20));
  const QMap<QString, QByteArray> before = FolderContent(target_);
  // Unpacks to 2.5 MB next to the 1 MB library: more than the 3 MB disk holds.
  const ItemOutcome unpacked = download("Lib.zip", BuildZip({{"Lib.abc", LargeLibrary(2560 * 1024)}}));
  EXPECT_EQ(unpacked.failure, ItemFailure::NoSpace) << unpacked.detail.toStdString();
  EXPECT_EQ(FolderContent(target_), before);
  // A file announced larger than the free space is refused before it fills the disk.
  const ItemOutcome fetched = download("Big.abc", QByteArray(4 << 20, 'x'));
  EXPECT_EQ(fetched.failure, ItemFailure::NoSpace);
  EXPECT_EQ(FolderContent(target_), before);
}

TEST_F(CatalogueDownloadTest, CancelDuringTheUnpackingLeavesTheFolderAsItWas) {
  server_.serve("/lib/Lib.zip", BuildZip({{"Lib.abc", LargeLibrary(8 << 20)}}));
  const QMap<QString, QByteArray> before = FolderContent(target_);
  CatalogueDownload run(server_.url("/lib/"), target_);
  run.onProgress = [&](std::int64_t, std::int64_t) {
    QDirIterator it(target_, {"*.unpack-*"}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    if (it.hasNext() && QFileInfo(it.next() + "/files/Lib.abc").size() > 0) run.abort();
  };
  EXPECT_EQ(run.download(WebLibItem{"1", "Lib.zip", "Lib.zip", "Lib", 1}).failure, ItemFailure::Cancelled);
  EXPECT_EQ(FolderContent(target_), before);
}

// The child half of the next test: unpacks the served archive into the folder it is given, until
// the parent kills it. Disabled, so that only the parent runs it.
TEST(CatalogueDownloadChild, DISABLED_UnpacksUntilKilled) {
  const QString target = qEnvironmentVariable("LEXORN_CHILD_TARGET");
  ASSERT_FALSE(target.isEmpty()) << "runs only as the child of KilledDuringUnpack";
  CatalogueDownload run(qEnvironmentVariable("LEXORN_CHILD_URL"), target);
  run.download(WebLibItem{"1", "Lib.zip", "Lib.zip", "Lib", 1});
}

TEST_F(CatalogueDownloadTest, KilledDuringUnpackTheOldLibraryStaysWholeAndTheNextStartRemovesTheDebris) {
  server_.serve("/lib/Lib.zip", BuildZip({{"Lib.abc", LargeLibrary(48 << 20)}}));
  const QMap<QString, QByteArray> before = FolderContent(target_);
  QProcess child;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("LEXORN_CHILD_TARGET", target_);
  environment.insert("LEXORN_CHILD_URL", server_.url("/lib/"));
  child.setProcessEnvironment(environment);
  child.start(QCoreApplication::applicationFilePath(),
              {"--gtest_filter=CatalogueDownloadChild.DISABLED_UnpacksUntilKilled", "--gtest_also_run_disabled_tests"});
  ASSERT_TRUE(child.waitForStarted());

  // Killed at a write: as soon as the unpacked library has bytes in the private folder.
  bool killed = false;
  QElapsedTimer clock;
  clock.start();
  while (!killed && clock.elapsed() < 60000 && child.state() == QProcess::Running) {
    QDirIterator it(target_, {"*.unpack-*"}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
      if (QFileInfo(it.next() + "/files/Lib.abc").size() > 0) {
        ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
        killed = true;
        break;
      }
    }
    QThread::usleep(200);
  }
  child.waitForFinished();
  ASSERT_TRUE(killed) << "the child finished before it could be killed";

  QMap<QString, QByteArray> after = FolderContent(target_);
  QStringList debris;
  for (auto it = after.begin(); it != after.end();) {
    if (it.key().contains(".unpack-")) {
      if (!it.key().contains('/')) debris << it.key();
      it = after.erase(it);
    } else {
      ++it;
    }
  }
  EXPECT_EQ(after, before);  // the old library is whole
  ASSERT_EQ(debris.size(), 1);
  // The next start looks in the folders of the libraries it knows.
  platform::WriteProfileString(folders_.programFolder() + "TopicList.ini", "AC:Other", "@", target_);
  EXPECT_EQ(RemoveStaleDownloadFiles(), 1);
  EXPECT_EQ(FolderContent(target_), before);
}

}  // namespace
