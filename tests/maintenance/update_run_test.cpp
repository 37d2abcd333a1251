// The update run against a loopback web server: what is due is fetched into the program folder
// and logged, nothing else is touched, and the result says what happened, failures included.

#include "maintenance/Tolbrand2/Tolbrand2_run.h"

#include "libraries/ServerListFile.h"
#include "platform/app/folders.h"
#include "platform/ini/ini.h"
#include "tests/support/loopback_http_server.h"
#include "tests/support/temp_folders.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <gtest/gtest.h>

#include <iterator>

namespace {

using testing_support::LoopbackHttpServer;
using testing_support::TempFolders;

const QDateTime kInstalled = QDateTime::currentDateTime().addDays(-10);

class UpdateRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetProgramFolder(folders_.programFolder());
    // The list and the plain items come from the loopback server.
    TempFolders::writeFile(program("ServerLocation.ini"),
                           "[DOWNLOADFROM]\nNewPath=" + server_.url("/").toUtf8() + "\nNewFileName=list.ini\n");
  }
  void TearDown() override { platform::SetProgramFolder({}); }

  QString program(const QString& name) const { return folders_.programFolder() + name; }
  QString setup() const { return folders_.profileFolder() + "CORVELSETUP.ini"; }
  QString installerValue(const QString& section, const QString& key) const {
    return platform::ReadProfileString(setup(), section, key, "Error");
  }
  // A file of the installation, last modified at `modified`.
  void install(const QString& name, const QByteArray& bytes, const QDateTime& modified = kInstalled) const {
    QFile file(TempFolders::writeFile(program(name), bytes));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(modified, QFileDevice::FileModificationTime));
  }
  QStringList programFiles() const {
    return QDir(folders_.programFolder()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
  }
  QStringList logLines() const {
    QStringList lines;
    const QString log = program("Updatelog2.ini");
    for (const QString& section : platform::ReadProfileSectionNames(log)) {
      lines << platform::ReadProfileString(log, section, "File", "Error");
    }
    return lines;
  }

  TempFolders folders_;
  LoopbackHttpServer server_;
};

TEST_F(UpdateRunTest, Tolbrand2FetchesWhatIsDueAndReportsFailuresBesideSuccesses) {
  const QString newer = BuildTimeText(kInstalled.addSecs(60));
  const QString older = BuildTimeText(kInstalled.addSecs(-60));
  server_.serve("/list.ini", QStringLiteral(
      "[SERVER_LEATEST_2]\n"
      "FROM_FILENAME01=current.dat\nTO_FILENAME01=Current.dat\nFILENAME01_BUILD_TIME=%1\n"
      "FROM_FILENAME02=older.dat\nTO_FILENAME02=Older.dat\nFILENAME02_BUILD_TIME=%2\nDESC_C02=较旧的文件\n"
      "FROM_FILENAME03=escape.dat\nTO_FILENAME03=../escape.dat\nFILENAME03_BUILD_TIME=%2\n"
      "FROM_FILENAME04=gone.dat\nTO_FILENAME04=Broken.dat\nFILENAME04_BUILD_TIME=%2\n"
      "FROM_FILENAME05=unknown.dat\nTO_FILENAME05=Unknown.dat\n"
      "FROM_FILENAME06=nobuild.dat\nTO_FILENAME06=NoBuild.dat\n"
      "FROM_FILENAME07=missing.dat\nTO_FILENAME07=Missing.dat\nFILENAME07_BUILD_TIME=%2\n"
      "FROM_PATH01=%3\n"
      "[SERVER_LEATEST_2C]\n"
      "FROM_FILENAME01=LANG_C.dat\nTO_FILENAME01=LANG_C.dat\nFILENAME01_BUILD_TIME=%2\n")
      .arg(older, newer, server_.url("/chinese/")).toUtf8());
  for (const char* path : {"/current.dat", "/older.dat", "/escape.dat", "/unknown.dat", "/nobuild.dat", "/missing.dat"}) {
    server_.serve(path, QByteArray("new ") + path);
  }
  server_.serve("/chinese/LANG_C.dat", "new chinese texts");
  install("Current.dat", "current");
  install("Older.dat", "older");
  install("Broken.dat", "broken stays");
  install("Unknown.dat", "unknown stays");
  platform::WriteProfileString(setup(), "GLOBAL", "LANGUAGE", "C");

  QStringList shown;
  const UpdateOutcome outcome =
      RunUpdate(Tolbrand2Run("C"), "C", [&](const QString& item) { shown << item; });

  EXPECT_EQ(outcome.fetched, 4);
  EXPECT_EQ(outcome.failures.size(), 2u);  // the name outside the folder and the missing server file
  EXPECT_EQ(TempFolders::readFile(program("Current.dat")), "current");
  EXPECT_EQ(TempFolders::readFile(program("Older.dat")), "new /older.dat");
  EXPECT_EQ(TempFolders::readFile(program("Missing.dat")), "new /missing.dat");
  EXPECT_EQ(TempFolders::readFile(program("NoBuild.dat")), "new /nobuild.dat");  // missing: due without a time
  EXPECT_EQ(TempFolders::readFile(program("LANG_C.dat")), "new chinese texts");
  EXPECT_EQ(TempFolders::readFile(program("Broken.dat")), "broken stays");
  EXPECT_EQ(TempFolders::readFile(program("Unknown.dat")), "unknown stays");
  EXPECT_FALSE(QFile::exists(folders_.programFolder() + "../escape.dat"));
  EXPECT_EQ(server_.requests("/escape.dat") + server_.requests("/unknown.dat") + server_.requests("/current.dat"), 0);
  EXPECT_EQ(programFiles(), (QStringList{"Broken.dat", "Current.dat", "LANG_C.dat", "Missing.dat", "NoBuild.dat",
                                         "Older.dat", "ServerLocation.ini", "ServerUpdate2.ini", "Unknown.dat", "Updatelog2.ini"}));
  EXPECT_EQ(shown, (QStringList{"较旧的文件", "Broken.dat", "NoBuild.dat", "Missing.dat", "LANG_C.dat"}));
  EXPECT_EQ(logLines(), (QStringList{"older.dat->Older.dat", "nobuild.dat->NoBuild.dat", "missing.dat->Missing.dat",
                                     "LANG_C.dat->LANG_C.dat"}));
  EXPECT_EQ(installerValue("ServerUpdate2", "RESULT"),
            "更新成功！（共4项） 更新失败！（共2项）：../escape.dat（文件名无效）、Broken.dat（下载失败）");
}

TEST_F(UpdateRunTest, NothingDueAndAListThatCannotBeFetchedOrIsTooLargeEachReplaceTheResult) {
  server_.serve("/list.ini", "[SERVER_LEATEST_2]\nFROM_FILENAME01=a.dat\nTO_FILENAME01=A.dat\n"
                             "FILENAME01_BUILD_TIME=" + BuildTimeText(kInstalled).toUtf8() + "\n");
  install("A.dat", "current");
  RunUpdate(Tolbrand2Run("Error"), "Error", [](const QString&) {});
  EXPECT_EQ(installerValue("ServerUpdate2", "RESULT"), "It is latest");
  EXPECT_FALSE(QFile::exists(program("Updatelog2.ini")));

  // NewPath without NewFileName: the list address ends in "Error" and is not found. The run says
  // so, naming the address it tried, and writes nothing: the earlier result stays.
  TempFolders::writeFile(program("ServerLocation.ini"), "[DOWNLOADFROM]\nNewPath=" + server_.url("/").toUtf8() + "\n");
  const UpdateOutcome outcome = RunUpdate(Tolbrand2Run("Error"), "Error", [](const QString&) {});
  EXPECT_FALSE(outcome.listFetched);
  EXPECT_EQ(outcome.resultLine,
            "The update list could not be fetched; no file was updated, " + server_.url("/Error") + " (download failed)");
  EXPECT_EQ(installerValue("ServerUpdate2", "RESULT"), "It is latest");
  EXPECT_EQ(server_.requests("/Error"), 1);

  // A list larger than any list may be is not taken, and leaves nothing behind.
  TempFolders::writeFile(program("ServerLocation.ini"),
                         "[DOWNLOADFROM]\nNewPath=" + server_.url("/").toUtf8() + "\nNewFileName=huge.ini\n");
  server_.serve("/huge.ini", "[SERVER_LEATEST_2]\n" + QByteArray(kServerListLimit, ';'));
  EXPECT_FALSE(RunUpdate(Tolbrand2Run("Error"), "Error", [](const QString&) {}).listFetched);
  EXPECT_EQ(programFiles(), (QStringList{"A.dat", "ServerLocation.ini", "ServerUpdate2.ini"}));
}

TEST_F(UpdateRunTest, AListCannotReplaceAProgramOrTheLearnersFilesNorFetchOverPlainHttp) {
  server_.serve("/list.ini", QStringLiteral(
      "[SERVER_LEATEST_2]\n"
      "FROM_FILENAME01=program.sh\nTO_FILENAME01=Corvel'sLexorn2\nFILENAME01_BUILD_TIME=20991231_23:59:59\n"
      "FROM_FILENAME02=topics.ini\nTO_FILENAME02=TopicList.ini\nFILENAME02_BUILD_TIME=20991231_23:59:59\n"
      "FROM_FILENAME03=settings.ini\nTO_FILENAME03=Settings.ini\n"
      "FROM_FILENAME04=moved.dat\nTO_FILENAME04=Moved.dat\n"
      "FROM_PATH01=http://198.51.100.7/\n"
      "[SERVER_LEATEST_2A]\n"
      "FROM_FILENAME01=LANG_A.dat\nTO_FILENAME01=LANG_A.dat\n").toUtf8());
  server_.serve("/program.sh", "#!/bin/sh\necho replaced\n");
  server_.serve("/topics.ini", "[A]\n");
  server_.serve("/settings.ini", "[Global]\n");
  // The loopback exception does not pass on to a plain-http address the server redirects to.
  server_.redirect("/moved.dat", server_.url("/words.dat"));
  server_.serve("/words.dat", "words");
  install("Corvel'sLexorn2", "the installed program");
  ASSERT_TRUE(QFile::setPermissions(program("Corvel'sLexorn2"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
  install("TopicList.ini", "[AC:Words]\n");
  const QStringList before = programFiles();

  QElapsedTimer clock;
  clock.start();
  const UpdateOutcome outcome = RunUpdate(Tolbrand2Run("A"), "A", [](const QString&) {});
  EXPECT_LT(clock.elapsed(), 5000) << "the plain-http address is refused without connecting";

  EXPECT_EQ(outcome.fetched, 0);
  EXPECT_FALSE(UpdateSucceeded(outcome));
  EXPECT_EQ(TempFolders::readFile(program("Corvel'sLexorn2")), "the installed program");
  EXPECT_EQ(TempFolders::readFile(program("TopicList.ini")), "[AC:Words]\n");
  QStringList after = before + QStringList{"ServerUpdate2.ini"};
  after.sort();
  EXPECT_EQ(programFiles(), after);
  EXPECT_EQ(server_.requests("/topics.ini") + server_.requests("/settings.ini") + server_.requests("/words.dat"), 0);
  EXPECT_EQ(outcome.resultLine,
            "Update failed！（Total 5 Items）: Corvel'sLexorn2 (not a program of this machine), "
            "TopicList.ini (the learner's own file is never updated), "
            "Settings.ini (the learner's own file is never updated), Moved.dat (download failed), "
            "LANG_A.dat (the address is not https)");

  // The list itself from a plain-http server elsewhere is not fetched either.
  TempFolders::writeFile(program("ServerLocation.ini"), "[DOWNLOADFROM]\nNewPath=http://198.51.100.7/\nNewFileName=list.ini\n");
  clock.restart();
  const UpdateOutcome refused = RunUpdate(Tolbrand2Run("A"), "A", [](const QString&) {});
  EXPECT_LT(clock.elapsed(), 5000);
  EXPECT_FALSE(refused.listFetched);
  EXPECT_EQ(refused.resultLine,
            "The update list could not be fetched; no file was updated, "
            "http://198.51.100.7/list.ini (the address is not https)");
}

}  // namespace

namespace {

TEST_F(UpdateRunTest, FileNamesAreSentAsTheListGivesThem) {
  // Each name as the list gives it, the request target it must arrive as, and the file the server
  // holds under it. Escapes in the list stay as written; "." and ".." steps, escaped or not, are
  // the server's to resolve.
  const struct {
    QString listed, target, served;
  } names[] = {
      {"Windows Recycle.wav", "/Windows%20Recycle.wav", "/Windows Recycle.wav"},
      {"plain.dat", "/plain.dat", "/plain.dat"},
      {"100% sure.dat", "/100%25%20sure.dat", "/100% sure.dat"},
      {"50%25.dat", "/50%25.dat", "/50%.dat"},
      {"No#1.dat", "/No%231.dat", "/No#1.dat"},
      {"Wörter 中文.dat", "/W%C3%B6rter%20%E4%B8%AD%E6%96%87.dat", "/Wörter 中文.dat"},
      {"a/%2e%2e/b.txt", "/a/%2e%2e/b.txt", "/a/../b.txt"},
      {"a/./../c.txt", "/a/./../c.txt", "/a/./../c.txt"},
  };
  QString list = "[SERVER_LEATEST_2]\n";
  for (std::size_t i = 0; i < std::size(names); ++i) {
    list += QStringLiteral("FROM_FILENAME%1=%2\nTO_FILENAME%1=Item%1.dat\n")
                .arg(i + 1, 2, 10, QLatin1Char('0'))
                .arg(names[i].listed);
    server_.serve(names[i].served, names[i].listed.toUtf8());
  }
  // The language section's items come from their own FROM_PATH, which may hold a blank too.
  list += "FROM_PATH01=" + server_.url("/for learners/") + "\n";
  list += "[SERVER_LEATEST_2A]\nFROM_FILENAME01=LANG_A.dat\nTO_FILENAME01=LANG_A.dat\n"
          "FROM_FILENAME02=Orphan.dat\nTO_FILENAME02=Orphan.dat\n";
  server_.serve("/list.ini", list.toUtf8());
  server_.serve("/for learners/LANG_A.dat", "english texts");

  const UpdateOutcome outcome = RunUpdate(Tolbrand2Run("A"), "A", [](const QString&) {});

  const QStringList targets = server_.targets();
  for (std::size_t i = 0; i < std::size(names); ++i) {
    const QString item = QStringLiteral("Item%1.dat").arg(i + 1, 2, 10, QLatin1Char('0'));
    EXPECT_TRUE(targets.contains(names[i].target)) << names[i].listed.toStdString() << " in " << targets.join(' ').toStdString();
    EXPECT_EQ(TempFolders::readFile(program(item)), names[i].listed.toUtf8()) << names[i].listed.toStdString();
  }
  EXPECT_TRUE(targets.contains("/for%20learners/LANG_A.dat"));
  EXPECT_EQ(TempFolders::readFile(program("LANG_A.dat")), "english texts");
  EXPECT_EQ(outcome.fetched, static_cast<int>(std::size(names)) + 1);
  // Without FROM_PATH02 the item has no address: it says so, and nothing is asked of any server.
  EXPECT_EQ(outcome.resultLine,
            "Update is secuessfully completed！（Total 9 Items） Update failed！（Total 1 Items）: "
            "Orphan.dat (the list gives no FROM_PATH for it)");
  EXPECT_EQ(server_.requests("/Orphan.dat") + server_.requests("/ErrorOrphan.dat"), 0);
}

TEST_F(UpdateRunTest, AFolderInTheWayAndAFileOverTheLimitAreNamedAsSuch) {
  server_.serve("/list.ini", QByteArray(
      "[SERVER_LEATEST_2]\n"
      "FROM_FILENAME01=data.zip\nTO_FILENAME01=data\nFILENAME01_BUILD_TIME=20000101_00:00:00\n"
      "FROM_FILENAME02=huge.dat\nTO_FILENAME02=Huge.dat\n"
      "FROM_FILENAME03=small.dat\nTO_FILENAME03=Small.dat\n"));
  server_.serve("/data.zip", "a file where the folder is");
  server_.stall("/huge.dat", (std::size_t{1} << 30) + 1);
  server_.serve("/small.dat", "small");
  ASSERT_TRUE(QDir().mkpath(program("data")));
  TempFolders::writeFile(program("data/kept.txt"), "kept");

  QElapsedTimer clock;
  clock.start();
  const UpdateOutcome outcome = RunUpdate(Tolbrand2Run("C"), "C", [](const QString&) {});
  EXPECT_LT(clock.elapsed(), 10000) << "an announced size over the limit is refused at once";

  EXPECT_EQ(TempFolders::readFile(program("data/kept.txt")), "kept");
  EXPECT_FALSE(QFile::exists(program("Huge.dat")));
  EXPECT_EQ(TempFolders::readFile(program("Small.dat")), "small");
  EXPECT_EQ(server_.requests("/data.zip"), 0);
  EXPECT_EQ(outcome.resultLine,
            "更新成功！（共1项） 更新失败！（共2项）：data（有同名的文件夹挡在那里）、Huge.dat（文件大于 1 GB）");
  EXPECT_EQ(programFiles(), (QStringList{"ServerLocation.ini", "ServerUpdate2.ini", "Small.dat", "Updatelog2.ini"}));
}

}  // namespace
