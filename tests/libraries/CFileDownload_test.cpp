#include "libraries/CFileDownload.h"

#include "tests/support/loopback_http_server.h"
#include "tests/support/temp_folders.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>

namespace {

using testing_support::LoopbackHttpServer;
using testing_support::TempFolders;

class CFileDownloadTest : public ::testing::Test {
 protected:
  void TearDown() override { platform::SetDownloadTimeLimits(0, 0); }

  QString target(const QString& name = QStringLiteral("Lib.abc")) const { return folders_.libraryFolder() + name; }
  // Everything in the target folder, hidden files included: no partial download may stay behind.
  QStringList folderEntries() const {
    return QDir(folders_.libraryFolder()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
  }

  TempFolders folders_;
  LoopbackHttpServer server_;
};

TEST_F(CFileDownloadTest, StoresTheWholeFileAndReportsProgressOnTheWay) {
  const QByteArray body(300000, 'w');
  server_.serve("/Lib.abc", body);
  CFileDownload download;
  std::int32_t lastProgress = -1;
  int reports = 0;
  download.OnProgress = [&](std::int32_t progress, std::int32_t, std::int32_t, const QString&) {
    EXPECT_GE(progress, lastProgress);
    lastProgress = progress;
    ++reports;
  };

  ASSERT_TRUE(download.StartDownloading(server_.url("/Lib.abc"), target()));
  EXPECT_EQ(TempFolders::readFile(target()), body);
  EXPECT_GE(reports, 2);
  EXPECT_EQ(lastProgress, body.size());
  EXPECT_FALSE(download.downloading());
  EXPECT_EQ(folderEntries(), QStringList{"Lib.abc"});

  // The object is idle again and fetches a second file.
  download.OnProgress = nullptr;
  server_.serve("/Second.abc", "second");
  EXPECT_TRUE(download.StartDownloading(server_.url("/Second.abc"), target("Second.abc")));
  EXPECT_EQ(TempFolders::readFile(target("Second.abc")), "second");
}

TEST_F(CFileDownloadTest, FailuresKeepTheOlderFileAndLeaveNothingPartial) {
  server_.serve("/Lib.abc", "new content");
  server_.redirect("/moved.abc", "/Lib.abc");
  server_.redirect("/gone.abc", "/nowhere.abc");
  server_.redirect("/local.abc", "file:///etc/passwd");
  struct Case {
    const char* path;
    bool succeeds;
  };
  const Case cases[] = {
      {"/missing.abc", false},  // 404
      {"/gone.abc", false},     // a redirect to a 404
      {"/local.abc", false},    // a redirect away from the web
      {"/moved.abc", true},     // a redirect is followed
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    TempFolders::writeFile(target(), "older");
    CFileDownload download;
    EXPECT_EQ(download.StartDownloading(server_.url(c.path), target()), c.succeeds);
    EXPECT_EQ(TempFolders::readFile(target()), c.succeeds ? QByteArray("new content") : QByteArray("older"));
    EXPECT_EQ(folderEntries(), QStringList{"Lib.abc"});
  }

  CFileDownload download;
  EXPECT_FALSE(download.StartDownloading(server_.url("/Lib.abc"), folders_.libraryFolder() + "no/such/folder.abc"));
  EXPECT_FALSE(download.StartDownloading(QStringLiteral("http://127.0.0.1:1/closed.abc"), target("closed.abc")));
  EXPECT_FALSE(QFile::exists(target("closed.abc")));
}

TEST_F(CFileDownloadTest, EachFailureKeepsItsCause) {
  server_.serve("/Lib.abc", "new content");
  using platform::DownloadFailure;
  struct Case {
    const char* path;
    std::int64_t maxBytes;
    DownloadFailure failure;
  };
  const Case cases[] = {
      {"/Lib.abc", 1 << 20, DownloadFailure::None},
      {"/Lib.abc", 4, DownloadFailure::TooLarge},  // a server sending more than the limit is cut off
      {"/missing.abc", 1 << 20, DownloadFailure::Transfer},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    TempFolders::writeFile(target(), "older");
    CFileDownload download;
    download.SetMaxBytes(c.maxBytes);
    EXPECT_EQ(download.StartDownloading(server_.url(c.path), target()), c.failure == DownloadFailure::None);
    EXPECT_EQ(download.LastFailure(), c.failure);
    EXPECT_EQ(TempFolders::readFile(target()), c.failure == DownloadFailure::None ? "new content" : "older");
    EXPECT_EQ(folderEntries(), QStringList{"Lib.abc"});
  }
}

TEST_F(CFileDownloadTest, AbortFromTheProgressEventEndsAStalledTransfer) {
  server_.stall("/stall.abc");
  server_.serve("/Lib.abc", "fine");
  CFileDownload download;
  bool nestedResult = true;
  QElapsedTimer clock;
  clock.start();
  download.OnProgress = [&](std::int32_t, std::int32_t, std::int32_t, const QString&) {
    // A second start on a busy object is refused and leaves the running transfer alone.
    nestedResult = download.StartDownloading(server_.url("/Lib.abc"), target());
    if (clock.elapsed() > 300) download.AbortDownloading();
  };

  EXPECT_FALSE(download.StartDownloading(server_.url("/stall.abc"), target("stall.abc")));
  EXPECT_EQ(download.LastFailure(), platform::DownloadFailure::Cancelled);
  EXPECT_LT(clock.elapsed(), 5000);
  EXPECT_FALSE(nestedResult);
  EXPECT_EQ(server_.requests("/Lib.abc"), 0);
  EXPECT_FALSE(download.downloading());
  EXPECT_TRUE(folderEntries().isEmpty());

  download.OnProgress = nullptr;
  EXPECT_TRUE(download.StartDownloading(server_.url("/Lib.abc"), target()));
}

TEST_F(CFileDownloadTest, AStalledServerFailsAfterTheStallLimit) {
  platform::SetDownloadTimeLimits(2, 1);
  server_.stall("/stall.abc");
  CFileDownload download;
  QElapsedTimer clock;
  clock.start();
  EXPECT_FALSE(download.StartDownloading(server_.url("/stall.abc"), target("stall.abc")));
  // curl averages the speed over the last five seconds, so the bytes sent before the stall keep
  // it above the limit that long.
  EXPECT_LT(clock.elapsed(), 10000);
  EXPECT_TRUE(folderEntries().isEmpty());
}

}  // namespace
