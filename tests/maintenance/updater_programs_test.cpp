// The updaters as programs: the real executables in a temporary program folder, started from
// another folder, bring their files up to date from a loopback server (Zembrol2 fetches a new
// Tolbrand2, which then runs) and keep their result keys apart; and the window's timer, ticking
// during a slow run, neither starts a second run nor lets the window close before the run is over.

#include "maintenance/Tolbrand2/Tolbrand2_run.h"
#include "maintenance/updater/Form2.h"

#include "libraries/ServerListFile.h"
#include "platform/app/folders.h"
#include "platform/download/url_download.h"
#include "platform/ini/ini.h"
#include "tests/support/loopback_http_server.h"
#include "tests/support/temp_folders.h"
#include "tests/support/x11_tools.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <iostream>

#include <signal.h>

namespace {

using testing_support::LoopbackHttpServer;
using testing_support::TempFolders;
using testing_support::WaitUntil;
using namespace std::chrono_literals;

class UpdaterProgramsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TempFolders::writeFile(program("ServerLocation.ini"),
                           "[DOWNLOADFROM]\nNewPath=" + server_.url("/").toUtf8() + "\nNewFileName=list.ini\n");
  }

  QString program(const QString& name) const { return folders_.programFolder() + name; }
  QString result(const QString& section, const QString& key = "RESULT") const {
    return platform::ReadProfileString(folders_.profileFolder() + "CORVELSETUP.ini", section, key, "Error");
  }
  // Runs the program and returns its exit status; what it printed is kept in output_.
  int run(const QString& name) {
    QProcess process;
    process.setWorkingDirectory(folders_.libraryFolder());  // the files must land in the program folder
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program(name), {});
    const bool finished = process.waitForFinished(60000);
    output_ = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    if (!finished) return -1;
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  }

  TempFolders folders_;
  LoopbackHttpServer server_;
  QString output_;
};

TEST_F(UpdaterProgramsTest, Zembrol2BringsTolbrand2UpToDateAndTheNewTolbrand2Runs) {
  const QDateTime installed = QDateTime::currentDateTime().addDays(-1);
  const QByteArray updater = TempFolders::readFile(LEXORN_APP_DIR "/Tolbrand2");
  ASSERT_FALSE(updater.isEmpty());
  ASSERT_TRUE(QFile::copy(LEXORN_APP_DIR "/Zembrol2", program("Zembrol2")));
  // The installed updater is older than the list's and cannot run: only the fetched one can.
  {
    QFile old(TempFolders::writeFile(program("Tolbrand2"), "#!/bin/sh\nexit 7\n"));
    ASSERT_TRUE(old.open(QIODevice::ReadWrite));
    ASSERT_TRUE(old.setFileTime(installed, QFileDevice::FileModificationTime));
    ASSERT_TRUE(old.setPermissions(old.permissions() | QFile::ExeOwner));
  }
  const QByteArray later = BuildTimeText(installed.addSecs(60)).toUtf8();
  server_.serve("/list.ini", "[SELF_UPDATE]\nFROM_FILENAME00=Tolbrand2\nTO_FILENAME00=Tolbrand2\n"
                             "FILENAME00_BUILD_TIME=" + later + "\n"
                             "[SERVER_LEATEST_2]\nFROM_FILENAME01=words.dat\nTO_FILENAME01=Words.dat\n"
                             "FILENAME01_BUILD_TIME=" + later + "\n");
  server_.serve("/Tolbrand2", updater);
  server_.serve("/words.dat", "words");
  TempFolders::writeFile(folders_.profileFolder() + "CORVELSETUP.ini",
                         "[GLOBAL]\nLANGUAGE=C\n[VENDRIX]\nLINKRESULT=linked\nRESULT=earlier\n");

  ASSERT_EQ(run("Zembrol2"), 0);
  EXPECT_EQ(output_, "更新成功！（共1项）");
  EXPECT_EQ(TempFolders::readFile(program("Tolbrand2")), updater);
  EXPECT_EQ(result("VENDRIX"), "Tolbrand2->Tolbrand2");
  EXPECT_EQ(result("Zembrol2"), "更新成功！（共1项）");
  EXPECT_EQ(result("ServerUpdate2"), "Error");

  ASSERT_EQ(run("Tolbrand2"), 0);
  EXPECT_EQ(TempFolders::readFile(program("Words.dat")), "words");
  EXPECT_EQ(result("ServerUpdate2"), "更新成功！（共1项）");
  EXPECT_EQ(platform::ReadProfileSectionNames(program("Updatelog2.ini")).size(), 2);
  EXPECT_FALSE(QFile::exists(folders_.libraryFolder() + "ServerUpdate2.ini"));

  // Now current: Zembrol2 removes its record of a fetch and leaves every other key alone.
  ASSERT_EQ(run("Zembrol2"), 0);
  EXPECT_EQ(result("VENDRIX"), "Error");
  EXPECT_EQ(result("Zembrol2"), "已经是最新");
  EXPECT_EQ(result("VENDRIX", "LINKRESULT"), "linked");
  EXPECT_EQ(result("ServerUpdate2"), "更新成功！（共1项）");
  EXPECT_EQ(result("GLOBAL", "LANGUAGE"), "C");
  EXPECT_EQ(server_.requests("/Tolbrand2"), 1);
}

TEST_F(UpdaterProgramsTest, WithTheServerDownNeitherWritesAnythingAndBothSayTheyFailed) {
  ASSERT_TRUE(QFile::copy(LEXORN_APP_DIR "/Zembrol2", program("Zembrol2")));
  ASSERT_TRUE(QFile::copy(LEXORN_APP_DIR "/Tolbrand2", program("Tolbrand2")));
  // Port 1 on loopback: nothing listens, the connection is refused at once.
  TempFolders::writeFile(program("ServerLocation.ini"), "[DOWNLOADFROM]\nNewPath=http://127.0.0.1:1/\nNewFileName=list.ini\n");
  const QByteArray settings = "[GLOBAL]\nLANGUAGE=A\n[VENDRIX]\nRESULT=Tolbrand2->Tolbrand2\n[Zembrol2]\nRESULT=earlier\n"
                             "[ServerUpdate2]\nRESULT=It is latest\n";
  TempFolders::writeFile(folders_.profileFolder() + "CORVELSETUP.ini", settings);

  const QString failed =
      "The update list could not be fetched; no file was updated, http://127.0.0.1:1/list.ini (download failed)";
  EXPECT_EQ(run("Zembrol2"), 1);
  EXPECT_EQ(output_, failed);
  EXPECT_EQ(TempFolders::readFile(folders_.profileFolder() + "CORVELSETUP.ini"), settings);

  EXPECT_EQ(run("Tolbrand2"), 1);
  EXPECT_EQ(output_, failed);
  EXPECT_EQ(TempFolders::readFile(folders_.profileFolder() + "CORVELSETUP.ini"), settings);
}

TEST_F(UpdaterProgramsTest, ASignalStopsTheRunAtOnceKeepsWhatCameAndWritesNoResult) {
  ASSERT_TRUE(QFile::copy(LEXORN_APP_DIR "/Tolbrand2", program("Tolbrand2")));
  const QByteArray settings = "[GLOBAL]\nLANGUAGE=A\n[ServerUpdate2]\nRESULT=earlier\n";
  TempFolders::writeFile(folders_.profileFolder() + "CORVELSETUP.ini", settings);
  server_.serve("/list.ini", "[SERVER_LEATEST_2]\nFROM_FILENAME01=words.dat\nTO_FILENAME01=Words.dat\n"
                             "FROM_FILENAME02=slow.dat\nTO_FILENAME02=Slow.dat\n");
  server_.serve("/words.dat", "words");
  server_.stall("/slow.dat");
  QProcess process;
  process.start(program("Tolbrand2"), {});
  ASSERT_TRUE(WaitUntil([&] { return server_.requests("/slow.dat") > 0; }, 20s));
  QElapsedTimer stopping;
  stopping.start();
  ASSERT_EQ(::kill(static_cast<pid_t>(process.processId()), SIGTERM), 0);
  // Far below the stall limit: the signal, not the stall, ended the transfer.
  ASSERT_TRUE(process.waitForFinished(10000));
  std::cout << "[ figure ] Tolbrand2 signal to program ended: " << stopping.elapsed() << " ms\n";

  EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(process.exitCode(), 1);
  EXPECT_EQ(QString::fromUtf8(process.readAllStandardOutput()).trimmed(),
            "The update was interrupted; 1 Items were updated");
  EXPECT_EQ(TempFolders::readFile(folders_.profileFolder() + "CORVELSETUP.ini"), settings);
  EXPECT_EQ(QDir(folders_.programFolder()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
            (QStringList{"ServerLocation.ini", "ServerUpdate2.ini", "Tolbrand2", "Updatelog2.ini", "Words.dat"}));
  EXPECT_EQ(platform::ReadProfileSectionNames(program("Updatelog2.ini")).size(), 1);
}

TEST_F(UpdaterProgramsTest, TicksDuringTheRunNeitherRunAgainNorCloseTheWindow) {
  platform::SetProgramFolder(folders_.programFolder());
  // The stalled item fails after some seconds (curl averages the speed over five), a tick each.
  platform::SetDownloadTimeLimits(1, 1);
  server_.serve("/list.ini", "[SERVER_LEATEST_2]\nFROM_FILENAME01=slow.dat\nTO_FILENAME01=Slow.dat\n"
                             "FILENAME01_BUILD_TIME=20991231_23:59:59\n");
  server_.stall("/slow.dat");

  Form2::instance().setUpdateRun(&Tolbrand2Run);
  Form2::instance().show();
  QString shownDuringRun;
  bool openAfterClose = false;
  QTimer::singleShot(2000, [&] {
    if (!Form2::loaded()) return;
    shownDuringRun = Form2::instance().Lbl_Desc->caption();
    Form2::instance().close();
    openAfterClose = Form2::loaded() && Form2::instance().isVisible();
  });
  const QDeadlineTimer deadline(20000);
  while (Form2::loaded() && !deadline.hasExpired()) {
    QCoreApplication::processEvents();
    QThread::msleep(10);
  }
  platform::DeleteUnloadedForms();
  platform::SetDownloadTimeLimits(0, 0);
  platform::SetProgramFolder({});

  EXPECT_FALSE(Form2::loaded()) << "the window closes when the run is over";
  EXPECT_EQ(shownDuringRun, "Slow.dat");
  EXPECT_TRUE(openAfterClose) << "a close request during the run is refused";
  EXPECT_EQ(server_.requests("/list.ini"), 1);
  EXPECT_EQ(server_.requests("/slow.dat"), 1);
  EXPECT_EQ(result("ServerUpdate2"), "Update failed！（Total 1 Items）: Slow.dat (download failed)");
  EXPECT_FALSE(QFile::exists(program("Slow.dat")));
}

}  // namespace
