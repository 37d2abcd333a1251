// The catalogue road end to end against a loopback web server: fetch the server list, show the
// catalogue, check items, download, unpack, register in TopicList.ini and log.

#include "core/language_bas.h"
#include "core/vars_bas.h"
#include "libraries/DownloadLocationFile.h"
#include "libraries/frmWebDownload.h"
#include "libraries/frmWebDownloadConn.h"
#include "libraries/frmWebDownloadProgress.h"
#include "libraries/web_catalogue.h"
#include "platform/app/folders.h"
#include "platform/forms/default_instance.h"
#include "platform/ini/ini.h"
#include "tests/support/folder_content.h"
#include "tests/support/library_files.h"
#include "tests/support/loopback_http_server.h"
#include "tests/support/raw_zip.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/temp_folders.h"
#include "tests/support/zip_builder.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTimer>

#include <functional>

namespace {

using testing_support::BuildRawZip;
using testing_support::BuildZip;
using testing_support::FolderContent;
using testing_support::RawEntry;
using testing_support::LibraryBytes;
using testing_support::LoopbackHttpServer;
using testing_support::ScopedRecordingDialogs;
using testing_support::TempFolders;
using testing_support::ZipEntry;

constexpr char kCatalogue[] = R"([ALL]
AC=8
GC=1
JC=abc
[AC]
FROM_FILENAME01=Plain.abc
TO_FILENAME01=Plain.abc
DESC_A01=Plain library
PRICE_01=FREE
FILENAME01_BUILD_TIME=20090305_08:07:09
FROM_FILENAME02=Zipped.zip
TO_FILENAME02=Zipped.zip
DESC_A02=Zipped library
PRICE_02=FREE
TO_FILENAME03=Skipped.abc
FROM_FILENAME04=Plain.abc
TO_FILENAME04=../Escape.abc
DESC_A04=Unsafe name
PRICE_04=FREE
FROM_FILENAME05=Evil.zip
TO_FILENAME05=Evil.zip
DESC_A05=Unsafe archive
PRICE_05=FREE
FROM_FILENAME06=Paid.abc
TO_FILENAME06=Paid.abc
DESC_A06=Paid library
PRICE_06=20 RMB
FROM_FILENAME07=Missing.abc
TO_FILENAME07=Missing.abc
DESC_A07=Missing on the server
PRICE_07=FREE
FROM_FILENAME08=Empty.zip
TO_FILENAME08=Empty.zip
DESC_A08=No library inside
PRICE_08=FREE
[GC]
VOLUMN=2
FROM_FILENAME01=Multi.part1.zip
TO_FILENAME01=Multi.part1.zip
DESC_A01=Two-part library
PRICE_01=FREE
)";

class WebDownloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetProgramFolder(folders_.programFolder());
    QFile::copy(QStringLiteral(LEXORN_APP_DIR "/LANG_A.dat"), folders_.programFolder() + "LANG_A.dat");
    g_UILanguage = QStringLiteral("A");
    targetFolder_ = folders_.libraryFolder() + "Corvel's Lexorn Library/";
    TempFolders::writeFile(folders_.profileFolder() + "CORVELSETUP.ini",
                           "[GLOBAL]\nLANGUAGE=A\nLIBPATH=" + folders_.libraryFolder().toUtf8() + "\n");
    const QByteArray web = server_.url("/lib/").toUtf8();
    TempFolders::writeFile(folders_.programFolder() + "WebLibLocation.ini",
                           "[DOWNLOADFROM]\nNewPath=" + web + "\nNewFileName=_ServerUpdate2.in_\n");
    TempFolders::writeFile(folders_.programFolder() + "ServerLocation.ini", "[DOWNLOADFROM]\nNewPath=" + web + "\n");
  }

  void TearDown() override {
    platform::UnloadAllForms();
    platform::SetProgramFolder(QString());
  }

  void serveCatalogue() {
    server_.serve("/lib/_ServerUpdate2.in_", kCatalogue);
    server_.serve("/lib/Plain.abc", LibraryBytes(QStringList{"{AC}", "plain@[pleɪn]adj. 平的"}));
    server_.serve("/lib/Zipped.zip", BuildZip({{"Zipped.abc", LibraryBytes(QStringList{"{AC}", "zip@n. 拉链"})},
                                               {"Zipped.JPG/", {}, ZipEntry::Folder},
                                               {"Zipped.JPG/00.Cover.jpg", "jpeg"}}));
    server_.serve("/lib/Evil.zip", BuildZip({{"Evil.abc", LibraryBytes(QStringList{"{AC}"})},
                                             {"../Evil.abc", "escaped"}}));
    server_.serve("/lib/Empty.zip", BuildZip({{"Empty.JPG/00.Cover.jpg", "jpeg"}}));
    server_.serve("/lib/Multi.part1.zip", BuildZip({{"Multi.abc", LibraryBytes(QStringList{"{GC}", "Haus@n. 房子"})}}));
    server_.serve("/lib/Multi.part2.zip", BuildZip({{"Multi.JPG/Haus.jpg", "jpeg"}}));
  }

  // Runs `action` once, from inside the modal loops, as soon as `ready` holds.
  void whenReady(std::function<bool()> ready, std::function<void()> action) {
    auto* poll = new QTimer(&owner_);  // owned by the test's QObject
    QObject::connect(poll, &QTimer::timeout, poll, [poll, ready = std::move(ready), action = std::move(action)] {
      if (!ready()) return;
      poll->stop();
      action();
    });
    poll->start(20);
  }

  // Lets the program run until the fetch window is gone (bounded).
  static bool waitUntilFetchWindowClosed(int milliseconds) {
    QDeadlineTimer deadline(milliseconds);
    while (frmWebDownloadConn::loaded() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return !frmWebDownloadConn::loaded();
  }

  // Runs the download window on `items` (as the checked rows of the first category) and returns
  // its report.
  QString runDownload(const std::vector<WebLibItem>& items) {
    EnsureWebCatalogueTables();
    g_WebCategories[1] = {"AC", static_cast<int>(items.size())};
    for (size_t row = 0; row < items.size(); ++row) g_WebLibChecked[1][row + 1] = items[row];
    dialogs_->messages.clear();
    frmWebDownloadProgress::instance().show();
    QDeadlineTimer deadline(30000);
    while (frmWebDownloadProgress::loaded() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return dialogs_->messages.empty() ? QString() : dialogs_->messages.back().text;
  }

  static QString topic(const QString& section) {
    return platform::ReadProfileString(platform::ProgramFolder() + "TopicList.ini", section, "@", "Error");
  }

  TempFolders folders_;
  LoopbackHttpServer server_;
  ScopedRecordingDialogs dialogs_;
  QObject owner_;
  QString targetFolder_;
};

TEST_F(WebDownloadTest, ChecksDownloadsUnpacksRegistersAndLogs) {
  serveCatalogue();
  QStringList nodes;
  QString pricedCheck;
  whenReady([] { return frmWebDownload::loaded() && frmWebDownload::instance().isVisible(); },
            [&] {
              frmWebDownload& web = frmWebDownload::instance();
              EXPECT_EQ(web.TxtFileLocation->text(), targetFolder_);
              web.Tv_Category_NodeClick(1);
              ASSERT_EQ(web.ListView1->topLevelItemCount(), 7);  // item 03 has no FROM_FILENAME
              for (int row : {0, 1, 2, 3, 4, 5, 6}) web.ListView1->topLevelItem(row)->setCheckState(0, Qt::Checked);
              pricedCheck = web.ListView1->topLevelItem(4)->checkState(0) == Qt::Checked ? "checked" : "unchecked";
              web.Tv_Category_NodeClick(6);
              web.ListView1->topLevelItem(0)->setCheckState(0, Qt::Checked);
              for (int i = 0; i < web.Tv_Category->topLevelItemCount(); ++i) nodes << web.Tv_Category->topLevelItem(i)->text(0);
              EXPECT_EQ(web.Cmd_Download->text(), "Download(7)");
              web.Cmd_Download->click();
            });
  frmWebDownloadConn::instance().show();
  ASSERT_TRUE(waitUntilFetchWindowClosed(30000));

  EXPECT_EQ(pricedCheck, "unchecked");
  EXPECT_EQ(nodes.value(0), "English (US)(6/7)");
  EXPECT_EQ(nodes.value(5), "German(1/1)");
  EXPECT_EQ(nodes.value(7), "Japanese(0/abc)");
  EXPECT_EQ(nodes.value(2), "Chinese");

  ASSERT_EQ(dialogs_->messages.size(), 2u);
  EXPECT_EQ(dialogs_->messages[0].text, " 7 libraries will be downloaded. Continue?");
  EXPECT_EQ(dialogs_->messages[1].text,
            "3 libraries downloaded, 4 failed.\n"
            "Unsafe name: the server named an unsafe file\n"
            "Unsafe archive: the archive is unsafe: the entry ../Evil.abc would leave the folder\n"
            "Missing on the server: could not be downloaded\n"
            "No library inside: the archive holds no word library");

  EXPECT_EQ(topic("AC:Plain"), targetFolder_);
  EXPECT_EQ(topic("AC:Zipped"), targetFolder_);
  EXPECT_EQ(topic("GC:Multi"), targetFolder_);
  EXPECT_EQ(topic("AC:Evil"), "Error");
  EXPECT_TRUE(QFile::exists(targetFolder_ + "Zipped.JPG/00.Cover.jpg"));
  EXPECT_TRUE(QFile::exists(targetFolder_ + "Multi.JPG/Haus.jpg"));
  EXPECT_FALSE(QFile::exists(folders_.libraryFolder() + "Escape.abc"));
  EXPECT_FALSE(QFile::exists(folders_.libraryFolder() + "Evil.abc"));
  EXPECT_FALSE(QFile::exists(targetFolder_ + "Empty.abc"));  // no empty library left behind
  EXPECT_EQ(topic(":Empty"), "Error");
  EXPECT_TRUE(g_LibraryAdded);
  EXPECT_EQ(g_CurrentSection, "GC:Multi");

  const QByteArray log = TempFolders::readFile(folders_.programFolder() + "Updatelog2.ini");
  EXPECT_EQ(log.count("File="), 3);  // entries within one second each keep their section
  EXPECT_TRUE(log.contains("File=Multi.part1.zip->" + targetFolder_.toUtf8() + "Multi.part1.zip"));
  EXPECT_FALSE(frmWebDownload::loaded());
  EXPECT_FALSE(frmWebDownloadProgress::loaded());
}

TEST_F(WebDownloadTest, AFailedFetchShowsTheErrorAndNeverOpensTheCatalogue) {
  // An older copy of the list lies in the program folder; it must not be shown.
  TempFolders::writeFile(folders_.programFolder() + "WebLibraryDownload2.ini", kCatalogue);
  frmWebDownloadConn& conn = frmWebDownloadConn::instance();
  conn.show();
  QDeadlineTimer deadline(10000);
  while (conn.ProgressBar1->isVisible() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);

  EXPECT_FALSE(conn.ProgressBar1->isVisible());
  EXPECT_EQ(conn.Lbl_Desc->caption(),
            "The library server could not be reached. Check the connection and try again later.");
  EXPECT_FALSE(frmWebDownload::loaded());
  EXPECT_EQ(TempFolders::readFile(folders_.programFolder() + "WebLibraryDownload2.ini"), kCatalogue);
  EXPECT_TRUE(frmWebDownloadConn::loaded());
}

// With no server named, the placeholder address fails: the text names it and the two files where
// a server is named, in either language, and the window grows until the whole text fits.
TEST_F(WebDownloadTest, WithoutAServerNamedTheErrorNamesTheAddressTriedAndTheLocationFiles) {
  QFile::remove(folders_.programFolder() + "WebLibLocation.ini");
  QFile::remove(folders_.programFolder() + "ServerLocation.ini");
  for (const char* letter : {"A", "C"}) {
    g_UILanguage = QString::fromLatin1(letter);
    frmWebDownloadConn& conn = frmWebDownloadConn::instance();
    const int height = conn.height();
    conn.show();
    QDeadlineTimer deadline(20000);
    while (conn.ProgressBar1->isVisible() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    const QString shown = conn.Lbl_Desc->caption().remove(QChar(0x200B));
    EXPECT_TRUE(shown.contains(CatalogueAddress())) << shown.toStdString();
    EXPECT_TRUE(shown.contains("WebLibLocation.ini") && shown.contains("ServerLocation.ini")) << shown.toStdString();
    EXPECT_NE(conn.Lbl_Desc->caption(), GetUIText("frmWebDownloadConn", "Lbl_Desc_Err"));
    EXPECT_GE(conn.Lbl_Desc->height(), conn.Lbl_Desc->heightForWidth(conn.Lbl_Desc->width()));
    EXPECT_TRUE(conn.rect().contains(conn.Lbl_Desc->geometry()) && conn.rect().contains(conn.Cmd_Cancel->geometry()));
    EXPECT_GE(conn.height(), height);
    frmWebDownloadConn::unload();
    platform::DeleteUnloadedForms();
  }
}

TEST_F(WebDownloadTest, AListOverTheLimitIsRefusedAndAnEmptyFolderDownloadsNothing) {
  TempFolders::writeFile(folders_.programFolder() + "WebLibraryDownload2.ini", kCatalogue);
  server_.serve("/lib/_ServerUpdate2.in_", QByteArray(17 << 20, ';'));
  frmWebDownloadConn& conn = frmWebDownloadConn::instance();
  conn.show();
  QDeadlineTimer deadline(20000);
  while (conn.ProgressBar1->isVisible() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_EQ(conn.Lbl_Desc->caption(), "The library list on the server is larger than 16 MB and was refused.");
  EXPECT_EQ(TempFolders::readFile(folders_.programFolder() + "WebLibraryDownload2.ini"), kCatalogue);
  EXPECT_FALSE(frmWebDownload::loaded());
  frmWebDownloadConn::unload();

  frmWebDownload::instance().TxtFileLocation->setText("  ");  // opening the catalogue clears the marks
  g_WebCategories[1] = {"AC", 1};
  g_WebLibChecked[1][1] = {"1", "Plain.abc", "Plain.abc", "Plain library", 1};
  frmWebDownloadProgress::instance().show();
  deadline.setRemainingTime(10000);
  while (frmWebDownloadProgress::loaded() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  ASSERT_EQ(dialogs_->messages.size(), 1u);
  EXPECT_EQ(dialogs_->messages[0].text, "No download folder is given, so nothing was downloaded.");
  EXPECT_EQ(server_.requests("/lib/Plain.abc"), 0);
}

TEST_F(WebDownloadTest, TheCatalogueReadsItsListOnceWhenItOpens) {
  const QString list = folders_.programFolder() + "WebLibraryDownload2.ini";
  TempFolders::writeFile(list, kCatalogue);
  frmWebDownload& web = frmWebDownload::instance();
  QFile::remove(list);  // category clicks use what the opening read
  web.Tv_Category_NodeClick(1);
  EXPECT_EQ(web.ListView1->topLevelItemCount(), 7);
  web.Tv_Category_NodeClick(6);
  EXPECT_EQ(web.ListView1->topLevelItemCount(), 1);
}

TEST_F(WebDownloadTest, ClosingTheFetchWindowAbortsAStalledFetch) {
  server_.stall("/lib/_ServerUpdate2.in_");
  whenReady([] { return frmWebDownloadConn::loaded() && frmWebDownloadConn::instance().ProgressBar1->value() > 0; },
            [] { frmWebDownloadConn::instance().Cmd_Cancel->click(); });
  frmWebDownloadConn::instance().show();
  ASSERT_TRUE(waitUntilFetchWindowClosed(10000));
  QCoreApplication::processEvents();
  EXPECT_FALSE(frmWebDownload::loaded());
  EXPECT_FALSE(QFile::exists(folders_.programFolder() + "WebLibraryDownload2.ini"));
}

TEST_F(WebDownloadTest, CancelStopsTheRunInAFolderUnderTheUserDataFolder) {
  // Without LIBPATH the libraries go to the user's data folder, created for the first download.
  TempFolders::writeFile(folders_.profileFolder() + "CORVELSETUP.ini", "[GLOBAL]\nLANGUAGE=A\n");
  const QByteArray oldDataHome = qgetenv("XDG_DATA_HOME");
  qputenv("XDG_DATA_HOME", (folders_.profileFolder() + "data").toUtf8());
  server_.stall("/lib/Stall.abc");
  EnsureWebCatalogueTables();
  g_WebCategories[1] = {"AC", 2};
  g_WebLibChecked[1][1] = {"1", "Stall.abc", "Stall.abc", "Stalling library", 1};
  g_WebLibChecked[1][2] = {"1", "Plain.abc", "Plain.abc", "Never reached", 1};
  whenReady([] { return frmWebDownloadProgress::loaded() &&
                        frmWebDownloadProgress::instance().Lbl_Desc->caption() == "Stalling library"; },
            [] { frmWebDownloadProgress::instance().Cmd_Cancel->click(); });
  frmWebDownloadProgress::instance().show();
  QDeadlineTimer deadline(10000);
  while (frmWebDownloadProgress::loaded() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  qputenv("XDG_DATA_HOME", oldDataHome);

  ASSERT_FALSE(frmWebDownloadProgress::loaded());
  ASSERT_EQ(dialogs_->messages.size(), 1u);
  EXPECT_EQ(dialogs_->messages[0].text,
            "0 libraries downloaded, 1 failed.\nThe download was cancelled.\nNot started: 1.\n"
            "Stalling library: cancelled");
  const QString folder = folders_.profileFolder() + "data/Corvel's Lexorn Library/";
  EXPECT_TRUE(QDir(folder).exists());
  EXPECT_TRUE(QDir(folder).entryList(QDir::Files | QDir::Hidden).isEmpty());
  EXPECT_EQ(server_.requests("/lib/Plain.abc"), 0);
  EXPECT_FALSE(g_LibraryAdded);
}

TEST_F(WebDownloadTest, TheReportSaysWhatHappenedToEachItemAndCountsOnlyTheLibrariesThatCame) {
  const QByteArray learnersSettings = "[Statistics]\n20090305=12\n";
  TempFolders::writeFile(targetFolder_ + "Alpha.abc", LibraryBytes(QStringList{"{AC}", "alpha@n. 阿尔法"}));
  TempFolders::writeFile(targetFolder_ + "Alpha.ini", learnersSettings);
  TempFolders::writeFile(targetFolder_ + "Other.abc", LibraryBytes(QStringList{"{AC}", "other@n. 别的"}));
  const QByteArray library = LibraryBytes(QStringList{"{AC}", "new@n. 新"});
  const QByteArray blankFirst = LibraryBytes(QStringList{"", "{AC}", "blank@n. 空"});
  const QByteArray noise = QByteArray::fromHex("00112233445566778899aabbccddeeff").repeated(8);
  const QByteArray lzma = QByteArray("\x09\x14\x05\x00\x5D\x00\x00\x10\x00", 9) + noise;
  struct Item {
    const char* description;
    QString to;
    int parts;
    std::vector<std::pair<QString, QByteArray>> served;
    QString line;  // the start of the item's line in the report; empty: the item has none
    std::vector<std::pair<QString, QByteArray>> arrives;
  };
  const Item items[] = {
      {"Sizes disagree", "Sizes.zip", 1,
       {{"Sizes.zip", BuildRawZip({RawEntry("Sizes.abc", library, 0, {}, static_cast<std::uint32_t>(library.size() + 1))})}},
       "Sizes disagree: the archive is damaged (Inconsistent uncompressed size", {}},
      {"Broken LZMA", "Lzma.zip", 1, {{"Lzma.zip", BuildRawZip({RawEntry("Lzma.abc", lzma, 14, 400)})}},
       "Broken LZMA: the archive is damaged (lzma data error", {}},
      {"Broken PPMd", "Ppmd.zip", 1, {{"Ppmd.zip", BuildRawZip({RawEntry("Ppmd.abc", "\x07\x30" + noise, 98, 400)})}},
       "Broken PPMd: the archive is damaged (Invalid parameter set in PPMd8 stream", {}},
      {"Alpha settings", "Alpha.ini", 1, {{"Alpha.ini", "[Normal]\nWordSpeed=9\n"}},
       "Alpha settings: your own Alpha.ini was kept; the downloaded copy was not used", {}},
      {"Readme in both parts", "Multi.part1.zip", 2,
       {{"Multi.part1.zip", BuildZip({{"Multi.abc", library}, {"readme.txt", "part 1"}})},
        {"Multi.part2.zip", BuildZip({{"Multi.JPG/a.jpg", "picture"}, {"readme.txt", "part 2"}})}},
       {},
       {{"Multi.abc", library}, {"Multi.JPG", "/"}, {"Multi.JPG/a.jpg", "picture"}}},
      {"Library twice", "Twice.part1.zip", 2,
       {{"Twice.part1.zip", BuildZip({{"Twice.abc", library}})}, {"Twice.part2.zip", BuildZip({{"Twice.abc", library}})}},
       "Library twice: the archive holds Twice.abc twice (or as both a file and a folder)", {}},
      {"Blank first line", "Blank.abc", 1, {{"Blank.abc", blankFirst}}, {}, {{"Blank.abc", blankFirst}}},
      {"Escaping entry", "Evil.zip", 1, {{"Evil.zip", BuildZip({{"Evil.abc", library}, {"../Evil.abc", "escaped"}})}},
       "Escaping entry: the archive is unsafe: the entry ../Evil.abc would leave the folder", {}},
      {"Notes", "Notes.txt", 1, {{"Notes.txt", "notes"}}, {}, {{"Notes.txt", "notes"}}},
  };
  std::vector<WebLibItem> checked;
  QMap<QString, QByteArray> expected = FolderContent(targetFolder_);
  for (const Item& item : items) {
    checked.push_back({"1", item.to, item.to, item.description, item.parts});
    for (const auto& [name, bytes] : item.served) server_.serve("/lib/" + name, bytes);
    const bool came = !item.arrives.empty();
    for (const auto& [name, bytes] : item.arrives) expected[name] = bytes;
    // The downloaded files stay beside what they brought, so the catalogue can tell the item is current.
    if (came && item.to != item.arrives.front().first) {
      for (const auto& [name, bytes] : item.served) expected[name] = bytes;
    }
  }
  const QStringList report = runDownload(checked).split('\n');
  ASSERT_GE(report.size(), 2);
  EXPECT_EQ(report[0], "2 libraries downloaded, 5 failed.");
  EXPECT_EQ(report[1], "Other files downloaded: 1.");
  for (const Item& item : items) {
    SCOPED_TRACE(item.description);
    const auto line = std::find_if(report.begin(), report.end(), [&](const QString& text) {
      return text.startsWith(QString::fromUtf8(item.description) + ':');
    });
    if (item.line.isEmpty()) {
      EXPECT_EQ(line, report.end()) << line->toStdString();
    } else {
      ASSERT_NE(line, report.end());
      EXPECT_TRUE(line->startsWith(item.line)) << line->toStdString();
    }
  }
  EXPECT_EQ(FolderContent(targetFolder_), expected);
  EXPECT_EQ(server_.requests("/lib/Alpha.ini"), 0);
  EXPECT_EQ(topic("AC:Multi"), targetFolder_);
  EXPECT_EQ(topic("AC:Blank"), targetFolder_);
  EXPECT_TRUE(g_LibraryAdded);

  // A run that brings no library says so and leaves the manager's selection alone.
  g_LibraryAdded = false;
  server_.serve("/lib/More.txt", "more notes");
  expected["More.txt"] = "more notes";
  EXPECT_EQ(runDownload({{"1", "Alpha.ini", "Alpha.ini", "Alpha settings", 1}, {"1", "More.txt", "More.txt", "More", 1}}),
            "0 libraries downloaded, 0 failed.\nOther files downloaded: 1.\n"
            "Alpha settings: your own Alpha.ini was kept; the downloaded copy was not used");
  EXPECT_EQ(FolderContent(targetFolder_), expected);
  EXPECT_FALSE(g_LibraryAdded);
}

}  // namespace
