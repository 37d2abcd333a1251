// The reader's confinement holds against the reader itself: a program bound the same way that
// tries to write outside its folder, to connect to a port of this machine or to start a program
// is stopped by the kernel, while it still writes inside its folder.

#include "tests/support/loopback_http_server.h"
#include "tests/support/skip_log.h"
#include "tests/support/temp_folders.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QUrl>

namespace {

using testing_support::LoopbackHttpServer;
using testing_support::TempFolders;

enum class Needs { Nothing, Landlock, SystemCallFilter };
constexpr int kDone = 0;
constexpr int kRefused = 1;
constexpr int kCannotConfine = 3;

TEST(ReaderConfinement, TheKernelStopsWritesOutsideTheFolderConnectionsAndNewPrograms) {
  TempFolders folders;
  const QString folder = folders.libraryFolder() + "staging/";
  const QString outside = folders.libraryFolder() + "outside.abc";
  TempFolders::writeFile(folder + "placeholder", {});
  LoopbackHttpServer server;
  const QString port = QString::number(QUrl(server.url("/")).port());
  struct Case {
    const char* what;
    QStringList action;
    int exit;
    Needs needs;
  };
  const Case cases[] = {
      {"a file inside the folder", {"write", folder + "Lib.abc"}, kDone, Needs::Nothing},
      {"a file beside the folder", {"write", outside}, kRefused, Needs::Landlock},
      {"a file through a step up", {"write", folder + "../up.abc"}, kRefused, Needs::Landlock},
      {"a file in the profile", {"write", folders.profileFolder() + "x.ini"}, kRefused, Needs::Landlock},
      {"a connection to this machine", {"connect", port}, kRefused, Needs::SystemCallFilter},
      {"a program started", {"exec"}, kRefused, Needs::SystemCallFilter},
      {"a process forked", {"fork"}, kRefused, Needs::SystemCallFilter},
  };
  bool landlock = true;
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    QProcess probe;
    probe.start(QCoreApplication::applicationDirPath() + "/reader_confinement_probe", QStringList{folder} + test.action);
    ASSERT_TRUE(probe.waitForFinished(10000));
    ASSERT_EQ(probe.exitStatus(), QProcess::NormalExit);
    if (probe.exitCode() == kCannotConfine) {
      SKIP_AS_THE_MACHINE_LACKS("a system-call filter (seccomp): " << probe.readAllStandardError().toStdString());
    }
    landlock = probe.readLine().trimmed().toInt() > 0;
    if (test.needs == Needs::Landlock && !landlock) continue;  // judged by the skip below
    EXPECT_EQ(probe.exitCode(), test.exit) << probe.readAllStandardError().toStdString();
  }
  EXPECT_TRUE(QFile::exists(folder + "Lib.abc"));
  if (!landlock) SKIP_AS_THE_MACHINE_LACKS("Landlock, which bounds the reader's writes to its folder");
  EXPECT_FALSE(QFile::exists(outside));
  EXPECT_FALSE(QFile::exists(folders.libraryFolder() + "up.abc"));
}

}  // namespace
