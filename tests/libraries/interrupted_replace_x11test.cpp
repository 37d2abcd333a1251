// A catalogue item's entries replaced as one set, killed before any one file-system call of the
// replacement (and, in some rows, killed again before each call of the recovery), then a real
// start of the program under Xvfb: the library, its picture folder and its archive are all old or
// all new, the learner's settings and other library are untouched, and nothing hidden is left.
// On the test machine's own file system (with the atomic exchange), a FUSE mount (bindfs: no
// exchange), one played without hard links either, and a tmpfs that is full.
#include "platform/files/entry_swap.h"
#include "platform/files/own_temporary_names.h"
#include "platform/files/private_folder.h"
#include "tests/support/library_files.h"
#include "tests/support/program_run.h"
#include "tests/support/skip_log.h"
#include "tests/support/small_file_system.h"
#include "tests/support/stale_entries.h"
#include "tests/support/temp_folders.h"
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>

namespace {

using namespace testing_support;

const QByteArray kOldLibrary = LibraryBytes({"{AC}", "old@[o]", "[Normal]"}) + QByteArray(300000, 'o');
const QByteArray kNewLibrary = LibraryBytes({"{AC}", "new@[n]", "[Normal]"}) + QByteArray(500000, 'n');
const char* const kItemEntries[] = {"Big.JPG", "Big.zip", "Big.abc"};  // in the order they move

struct Row {
  const char* name;
  const char* where;   // "local" (the test machine's /tmp), "bindfs" or "tmpfs"
  bool noHardLinks;    // played: a file system without the exchange and without hard links
  const char* fill;    // "", "before the journal", "after the journal": the tmpfs is filled then
  const char* ending;  // "finish" or "rollback"
  bool recoveryKilled; // each kill is followed by recoveries killed before their 1st, 2nd ... call
  bool endsNew;        // what a run that is not killed leaves
};

void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

// Whether the library in the folder is the new one: the commit point of the set.
bool LibraryIsNew(const QString& folder) { return QFileInfo(folder + "Big.abc").size() == kNewLibrary.size(); }

// Counts the replacement's file-system calls in a child, playing the row's file system, and ends
// the child before the call numbered LEXORN_REPLACE_KILL_AT, writing down first whether the
// library had been put in place.
class CountingSeam {
 public:
  CountingSeam() {
    platform::SetMoveCallSeamForTesting([this](platform::MoveCall call) {
      if (noHardLinks_ && (call == platform::MoveCall::Exchange || call == platform::MoveCall::Link)) return false;
      if (++calls_ == killAt_) kill();
      if (fillAfterJournal_ && call != platform::MoveCall::WriteJournal) {
        FillFreeSpace(qEnvironmentVariable("LEXORN_REPLACE_MOUNT"));
        fillAfterJournal_ = false;
      }
      return true;
    });
  }
  ~CountingSeam() {
    platform::SetMoveCallSeamForTesting({});
    if (++calls_ == killAt_) kill();  // after the ending, before the private folder goes
    TempFolders::writeFile(qEnvironmentVariable("LEXORN_REPLACE_CALLS"), QByteArray::number(calls_));
  }
  CountingSeam(const CountingSeam&) = delete;
  CountingSeam& operator=(const CountingSeam&) = delete;

 private:
  static void kill() {
    const QString folder = qEnvironmentVariable("LEXORN_REPLACE_FOLDER");
    TempFolders::writeFile(qEnvironmentVariable("LEXORN_REPLACE_CALLS") + ".library", LibraryIsNew(folder) ? "new" : "old");
    ::raise(SIGKILL);
  }

  int calls_ = 0;
  const int killAt_ = qEnvironmentVariableIntValue("LEXORN_REPLACE_KILL_AT");
  const bool noHardLinks_ = qEnvironmentVariable("LEXORN_REPLACE_PLAY") == "no hard links";
  bool fillAfterJournal_ = qEnvironmentVariable("LEXORN_REPLACE_FILL") == "after the journal";
};

// The child halves of the test, run only by InterruptedReplaceX11. The replacement prepares the
// item's entries in a private folder as a catalogue download does and moves them in as one set.
TEST(InterruptedReplaceChild, DISABLED_ReplacesUntilKilled) {
  const QString folder = qEnvironmentVariable("LEXORN_REPLACE_FOLDER");
  ASSERT_FALSE(folder.isEmpty()) << "runs only as the child of InterruptedReplaceX11";
  const platform::PrivateFolder staging(folder);
  ASSERT_TRUE(staging.created());
  const QString files = staging.path() + "files/";
  TempFolders::writeFile(files + "Big.abc", kNewLibrary);
  TempFolders::writeFile(files + "Big.JPG/1.jpg", "new picture 1");
  TempFolders::writeFile(files + "Big.JPG/2.jpg", "new picture 2");
  TempFolders::writeFile(staging.path() + "downloads/Big.zip", "new archive");
  if (qEnvironmentVariable("LEXORN_REPLACE_FILL") == "before the journal") {
    FillFreeSpace(qEnvironmentVariable("LEXORN_REPLACE_MOUNT"));
  }
  const CountingSeam seam;
  platform::EntrySwap swap(staging.path(), "Big");
  if (!swap.move({{files + "Big.JPG", "Big.JPG"}, {staging.path() + "downloads/Big.zip", "Big.zip"},
                  {files + "Big.abc", "Big.abc"}})) {
    return;
  }
  qEnvironmentVariable("LEXORN_REPLACE_ENDING") == "rollback" ? static_cast<void>(swap.rollback()) : swap.finish();
}

// What the program's start does first, killed as the replacement is.
TEST(InterruptedReplaceChild, DISABLED_RecoversUntilKilled) {
  const QString folder = qEnvironmentVariable("LEXORN_REPLACE_FOLDER");
  ASSERT_FALSE(folder.isEmpty()) << "runs only as the child of InterruptedReplaceX11";
  const CountingSeam seam;
  platform::RemoveStaleTemporaryFiles({{folder, [](const platform::TemporaryName&) { return true; }}});
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

// What the folder holds before each run: the old library with its picture folder (one picture the
// learner's own), the learner's settings of it and another library.
void LayOutOldFolder(const QString& folder) {
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(QFile::encodeName(folder).toStdString(), ignored))
    std::filesystem::remove_all(entry.path(), ignored);
  TempFolders::writeFile(folder + "Big.abc", kOldLibrary);
  TempFolders::writeFile(folder + "Big.JPG/1.jpg", "old picture 1");
  TempFolders::writeFile(folder + "Big.JPG/mine.jpg", "the learner's own picture");
  TempFolders::writeFile(folder + "Big.ini", "[Normal]\r\nWordWait=X\r\n");
  TempFolders::writeFile(folder + "Words.abc", LibraryBytes({"{AC}", "word@[w]", "[Normal]"}));
}

struct ChildRun {
  bool killed = false;
  int calls = 0;
  bool libraryWasNew = false;  // when killed
};

ChildRun RunChild(const char* test, const Row& row, const QString& folder, const QString& mount, int killAt) {
  const QTemporaryDir scratch;
  QProcess child;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("LEXORN_REPLACE_FOLDER", folder);
  environment.insert("LEXORN_REPLACE_MOUNT", mount);
  environment.insert("LEXORN_REPLACE_KILL_AT", QString::number(killAt));
  environment.insert("LEXORN_REPLACE_PLAY", row.noHardLinks ? "no hard links" : "");
  environment.insert("LEXORN_REPLACE_FILL", row.fill);
  environment.insert("LEXORN_REPLACE_ENDING", row.ending);
  environment.insert("LEXORN_REPLACE_CALLS", scratch.filePath("calls"));
  child.setProcessEnvironment(environment);
  child.start(QCoreApplication::applicationFilePath(),
              {QString("--gtest_filter=InterruptedReplaceChild.DISABLED_") + test, "--gtest_also_run_disabled_tests"});
  child.waitForFinished(30000);
  return {child.exitStatus() == QProcess::CrashExit, TempFolders::readFile(scratch.filePath("calls")).toInt(),
          TempFolders::readFile(scratch.filePath("calls.library")) == "new"};
}

// What the replacement puts there, laid out in a folder of its own for comparison.
QMap<QString, QByteArray> NewEntriesSnapshot() {
  const QTemporaryDir folder;
  TempFolders::writeFile(folder.filePath("Big.abc"), kNewLibrary);
  TempFolders::writeFile(folder.filePath("Big.JPG/1.jpg"), "new picture 1");
  TempFolders::writeFile(folder.filePath("Big.JPG/2.jpg"), "new picture 2");
  TempFolders::writeFile(folder.filePath("Big.zip"), "new archive");
  return FolderSnapshot(folder.path());
}

QMap<QString, QByteArray> TakeEntry(QMap<QString, QByteArray>& entries, const QString& name) {
  QMap<QString, QByteArray> part;
  for (const QString& key : entries.keys()) {
    if (key == name || key.startsWith(name + '/')) part.insert(key, entries.take(key));
  }
  return part;
}

// How many of the item's entries hold their new content; nothing when one holds neither its old
// entry nor its new one, whole, or the folder holds anything else than before.
std::optional<int> NewEntries(QMap<QString, QByteArray> after, QMap<QString, QByteArray> old,
                              QMap<QString, QByteArray> fresh) {
  int count = 0;
  for (const char* name : kItemEntries) {
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

class InterruptedReplaceX11 : public ::testing::TestWithParam<Row> {};

TEST_P(InterruptedReplaceX11, AKillAtAnyCallThenAStartLeavesTheWholeSetOldOrNew) {
  const Row& row = GetParam();
  const QString where = row.where;
  if (where == "bindfs" && !QFileInfo::exists("/dev/fuse")) SKIP_AS_THE_MACHINE_LACKS("/dev/fuse for a bindfs mount");
  std::unique_ptr<BindMount> bindfs;
  std::unique_ptr<SmallFileSystem> tmpfs;
  const QTemporaryDir local;
  QString root = local.path() + "/";
  if (where == "bindfs") {
    bindfs = std::make_unique<BindMount>();
    ASSERT_EQ(bindfs->error().toStdString(), "");
    root = bindfs->folder();
  } else if (where == "tmpfs") {
    tmpfs = std::make_unique<SmallFileSystem>(4096);
    if (!tmpfs->mounted()) SKIP_AS_THE_MACHINE_LACKS("a tmpfs mount of its own: " << tmpfs->error().toStdString());
    root = tmpfs->folder();
  }
  const QString folder = root + "library/";
  const auto layOut = [&] {
    if (tmpfs) tmpfs->unfill();
    LayOutOldFolder(folder);
  };
  XvfbServer server;
  ASSERT_TRUE(server.running()) << server.error().toStdString();
  ProgramRun program(server);
  QDir().mkpath(folder);
  TempFolders::writeFile(program.programFolder() + "/TopicList.ini",
                         "[AC:Big]\r\n@=" + folder.toUtf8() + "\r\n[AC:Words]\r\n@=" + folder.toUtf8() + "\r\n");
  layOut();
  const QMap<QString, QByteArray> old = FolderSnapshot(folder);
  const QMap<QString, QByteArray> fresh = NewEntriesSnapshot();
  const ChildRun whole = RunChild("ReplacesUntilKilled", row, folder, root, 0);
  ASSERT_FALSE(whole.killed);
  ASSERT_GT(whole.calls, 1);
  EXPECT_EQ(NewEntries(FolderSnapshot(folder), old, fresh), std::optional<int>(row.endsNew ? 3 : 0));

  QElapsedTimer clock;
  clock.start();
  int recoveries = 0;
  for (int killAt = 1; killAt <= whole.calls; ++killAt) {
    SCOPED_TRACE(std::string(row.name) + ", killed before call " + std::to_string(killAt) + " of " +
                 std::to_string(whole.calls));
    layOut();
    const ChildRun killed = RunChild("ReplacesUntilKilled", row, folder, root, killAt);
    ASSERT_TRUE(killed.killed);
    for (int recoveryKill = 1; row.recoveryKilled; ++recoveryKill, ++recoveries) {
      ASSERT_LT(recoveryKill, 100);
      if (!RunChild("RecoversUntilKilled", row, folder, root, recoveryKill).killed) break;
    }
    ASSERT_TRUE(program.startWithoutLibrary());
    ASSERT_FALSE(program.waitForWindow().isEmpty()) << program.log().toStdString();
    program.process()->stop();

    const QMap<QString, QByteArray> after = FolderSnapshot(folder);
    const std::optional<int> moved = NewEntries(after, old, fresh);
    // Rolled forward whole once the library was in place, else back whole.
    ASSERT_EQ(moved, std::optional<int>(killed.libraryWasNew ? 3 : 0))
        << SnapshotDifference(old, after) << "\nagainst the new:\n" << SnapshotDifference(fresh, after);
  }
  std::cout << row.name << ": " << whole.calls << " kill points, " << recoveries << " killed recoveries, "
            << clock.elapsed() << " ms\n";
}

constexpr Row kRows[] = {
    {"LocalFinish", "local", false, "", "finish", false, true},
    {"LocalRollback", "local", false, "", "rollback", false, false},
    {"LocalFinishRecoveryKilled", "local", false, "", "finish", true, true},
    {"BindfsFinish", "bindfs", false, "", "finish", false, true},
    {"BindfsRollback", "bindfs", false, "", "rollback", false, false},
    {"BindfsFinishRecoveryKilled", "bindfs", false, "", "finish", true, true},
    {"NoHardLinksFinish", "local", true, "", "finish", false, true},
    {"NoHardLinksRollbackRecoveryKilled", "local", true, "", "rollback", true, false},
    {"FullTmpfsFilledAfterTheJournal", "tmpfs", false, "after the journal", "finish", false, true},
    {"FullTmpfsFilledBeforeTheJournal", "tmpfs", false, "before the journal", "finish", false, false},
};

INSTANTIATE_TEST_SUITE_P(FileSystems, InterruptedReplaceX11, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

}  // namespace
