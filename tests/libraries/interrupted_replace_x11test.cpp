// A replacement of a library's files killed at any moment, on file systems without the atomic
// exchange (a real FUSE mount, and one without hard links either), then a real start of the
// program under Xvfb: every name holds its old entry or its new one, whole, and nothing else is
// left in the folder.
#include "platform/files/entry_swap.h"
#include "platform/files/private_folder.h"
#include "tests/support/library_files.h"
#include "tests/support/program_run.h"
#include "tests/support/stale_entries.h"
#include "tests/support/temp_folders.h"
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>
#include <filesystem>
#include <iostream>
#include <optional>

#include <sys/stat.h>

namespace {

using namespace testing_support;

const QByteArray kOldLibrary = LibraryBytes({"{AC}", "old@[o]", "[Normal]"}) + QByteArray(300000, 'o');
const QByteArray kNewLibrary = LibraryBytes({"{AC}", "new@[n]", "[Normal]"}) + QByteArray(500000, 'n');

// The child half of the test: replaces Big.abc, the picture folder Big.JPG and adds Big.txt as a
// catalogue download does (prepared in a private folder, the library last), and kills itself just
// before the file-system call numbered LEXORN_REPLACE_KILL_AT (one past the last: after the
// ending, before the private folder goes). Disabled, so that only its parent runs it.
TEST(InterruptedReplaceChild, DISABLED_ReplacesUntilKilled) {
  const QString folder = qEnvironmentVariable("LEXORN_REPLACE_FOLDER");
  ASSERT_FALSE(folder.isEmpty()) << "runs only as the child of InterruptedReplaceX11";
  const int killAt = qEnvironmentVariableIntValue("LEXORN_REPLACE_KILL_AT");
  const QString play = qEnvironmentVariable("LEXORN_REPLACE_PLAY");
  const bool rollback = qEnvironmentVariable("LEXORN_REPLACE_ENDING") == "rollback";

  const platform::PrivateFolder staging(folder);
  ASSERT_TRUE(staging.created());
  const QString files = staging.path() + "files/";
  ASSERT_TRUE(QDir().mkpath(staging.path() + "downloads") && QDir().mkpath(files));
  TempFolders::writeFile(files + "Big.abc", kNewLibrary);
  TempFolders::writeFile(files + "Big.JPG/1.jpg", "new picture 1");
  TempFolders::writeFile(files + "Big.JPG/2.jpg", "new picture 2");
  TempFolders::writeFile(files + "Big.txt", "new notes");

  int calls = 0;
  platform::SetMoveCallSeamForTesting([&](platform::MoveCall call) {
    // On the FUSE mount every call is real; otherwise a file system without the exchange and
    // without hard links is played.
    if (play == "no hard links" && (call == platform::MoveCall::Exchange || call == platform::MoveCall::Link)) return false;
    if (++calls == killAt) ::raise(SIGKILL);
    return true;
  });
  {
    platform::EntrySwap swap;
    for (const char* name : {"Big.JPG", "Big.txt", "Big.abc"}) ASSERT_TRUE(swap.move(files + name, folder + name));
    rollback ? swap.rollback() : swap.commit();
  }
  if (++calls == killAt) ::raise(SIGKILL);
  platform::SetMoveCallSeamForTesting({});
  TempFolders::writeFile(qEnvironmentVariable("LEXORN_REPLACE_CALLS"), QByteArray::number(calls));
}

// A bindfs mount of a fresh folder: a FUSE file system without the atomic exchange.
class BindMount {
 public:
  BindMount() {
    QDir().mkpath(root_.path() + "/source");
    QDir().mkpath(root_.path() + "/mount");
    const int status = QProcess::execute("bindfs", {root_.path() + "/source", root_.path() + "/mount"});
    if (status != 0) error_ = QString("bindfs could not mount (status %1)").arg(status);
  }
  ~BindMount() {
    if (error_.isEmpty()) QProcess::execute("fusermount", {"-u", root_.path() + "/mount"});
  }
  BindMount(const BindMount&) = delete;
  BindMount& operator=(const BindMount&) = delete;
  const QString& error() const { return error_; }
  QString folder() const { return root_.path() + "/mount/"; }

 private:
  QTemporaryDir root_;
  QString error_;
};

// What the folder holds before each run: the old library with its picture folder, the learner's
// settings of it and another library.
void LayOutOldFolder(const QString& folder) {
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(QFile::encodeName(folder).toStdString(), ignored))
    std::filesystem::remove_all(entry.path(), ignored);
  TempFolders::writeFile(folder + "Big.abc", kOldLibrary);
  TempFolders::writeFile(folder + "Big.JPG/1.jpg", "old picture 1");
  TempFolders::writeFile(folder + "Big.ini", "[Normal]\r\nWordWait=X\r\n");
  TempFolders::writeFile(folder + "Words.abc", LibraryBytes({"{AC}", "word@[w]", "[Normal]"}));
}

struct ChildRun {
  bool killed = false;
  int calls = 0;
};

ChildRun RunChild(const QString& folder, const QString& play, const QString& ending, int killAt) {
  const QTemporaryDir scratch;
  QProcess child;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("LEXORN_REPLACE_FOLDER", folder);
  environment.insert("LEXORN_REPLACE_KILL_AT", QString::number(killAt));
  environment.insert("LEXORN_REPLACE_PLAY", play);
  environment.insert("LEXORN_REPLACE_ENDING", ending);
  environment.insert("LEXORN_REPLACE_CALLS", scratch.filePath("calls"));
  child.setProcessEnvironment(environment);
  child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=InterruptedReplaceChild.DISABLED_ReplacesUntilKilled", "--gtest_also_run_disabled_tests"});
  child.waitForFinished(30000);
  return {child.exitStatus() == QProcess::CrashExit, TempFolders::readFile(scratch.filePath("calls")).toInt()};
}

// What the replacement puts there, laid out in a folder of its own for comparison.
QMap<QString, QByteArray> NewEntriesSnapshot() {
  const QTemporaryDir folder;
  TempFolders::writeFile(folder.filePath("Big.abc"), kNewLibrary);
  TempFolders::writeFile(folder.filePath("Big.JPG/1.jpg"), "new picture 1");
  TempFolders::writeFile(folder.filePath("Big.JPG/2.jpg"), "new picture 2");
  TempFolders::writeFile(folder.filePath("Big.txt"), "new notes");
  return FolderSnapshot(folder.path());
}

QMap<QString, QByteArray> TakeEntry(QMap<QString, QByteArray>& entries, const QString& name) {
  QMap<QString, QByteArray> part;
  for (const QString& key : entries.keys()) {
    if (key == name || key.startsWith(name + '/')) part.insert(key, entries.take(key));
  }
  return part;
}

// How many of the three names hold their new entries; nothing when one holds neither its old
// entry nor its new one, whole, or the folder holds anything else than before.
std::optional<int> NewEntries(QMap<QString, QByteArray> after, QMap<QString, QByteArray> old,
                              QMap<QString, QByteArray> fresh) {
  int count = 0;
  for (const char* name : {"Big.abc", "Big.JPG", "Big.txt"}) {
    const QMap<QString, QByteArray> now = TakeEntry(after, name);
    const QMap<QString, QByteArray> before = TakeEntry(old, name);
    if (now == TakeEntry(fresh, name)) {
      ++count;
    } else if (now != before) {
      return std::nullopt;
    }
  }
  if (after != old) return std::nullopt;
  return count;
}

TEST(InterruptedReplaceX11, AKillAtAnyCallThenAStartLeavesEveryNameOldOrNewWhole) {
  XvfbServer server;
  ASSERT_TRUE(server.running()) << server.error().toStdString();
  ProgramRun program(server);
  const BindMount mount;
  const QTemporaryDir plain;

  struct Case {
    const char* play;
    const char* ending;
  };
  const Case cases[] = {
      {"fuse", "commit"},
      {"fuse", "rollback"},
      {"no hard links", "commit"},
      {"no hard links", "rollback"},
  };
  for (const Case& test : cases) {
    const bool fuse = QString(test.play) == "fuse";
    if (fuse && !QFileInfo::exists("/dev/fuse")) {
      std::cout << "No /dev/fuse on this machine: the FUSE cases are left out.\n";
      continue;
    }
    if (fuse) {
      ASSERT_EQ(mount.error().toStdString(), "");
    }
    const QString folder = (fuse ? mount.folder() : plain.path() + "/") + "library/";
    QDir().mkpath(folder);
    TempFolders::writeFile(program.programFolder() + "/TopicList.ini",
                           "[AC:Big]\r\n@=" + folder.toUtf8() + "\r\n[AC:Words]\r\n@=" + folder.toUtf8() + "\r\n");
    LayOutOldFolder(folder);
    const QMap<QString, QByteArray> old = FolderSnapshot(folder);
    const QMap<QString, QByteArray> fresh = NewEntriesSnapshot();
    const ChildRun whole = RunChild(folder, test.play, test.ending, 0);
    ASSERT_FALSE(whole.killed);
    ASSERT_GT(whole.calls, 3) << test.play;

    int lastMoved = 0;
    for (int killAt = 1; killAt <= whole.calls; ++killAt) {
      SCOPED_TRACE(std::string(test.play) + ", " + test.ending + ", killed before call " + std::to_string(killAt) +
                   " of " + std::to_string(whole.calls));
      LayOutOldFolder(folder);
      ASSERT_TRUE(RunChild(folder, test.play, test.ending, killAt).killed);
      ASSERT_TRUE(program.startWithoutLibrary());
      ASSERT_FALSE(program.waitForWindow().isEmpty()) << program.log().toStdString();
      program.process()->stop();

      const QMap<QString, QByteArray> after = FolderSnapshot(folder);
      const std::optional<int> moved = NewEntries(after, old, fresh);
      ASSERT_TRUE(moved.has_value()) << SnapshotDifference(old, after) << "\nagainst the new:\n" << SnapshotDifference(fresh, after);
      if (killAt == 1) {
        EXPECT_EQ(*moved, 0);
      }
      if (QString(test.ending) == "commit") {
        EXPECT_GE(*moved, lastMoved);  // what was moved stays moved
        if (killAt == whole.calls) {
          EXPECT_EQ(*moved, 3);
        }
      } else if (killAt == whole.calls) {
        EXPECT_EQ(*moved, 0);
      }
      lastMoved = *moved;
    }
  }
}

}  // namespace
