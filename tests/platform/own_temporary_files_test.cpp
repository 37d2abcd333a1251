// The program's own temporary names, the start-up removal of those a dead process left, and the
// moves into place that keep the old entry until the new one holds its name.

#include "platform/files/entry_swap.h"
#include "platform/files/own_temporary_names.h"
#include "platform/files/private_folder.h"
#include "tests/support/stale_entries.h"
#include "tests/support/temp_folders.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using platform::ParseTemporaryName;
using platform::TemporaryKind;
using testing_support::DeadProcessId;
using testing_support::FolderSnapshot;
using testing_support::TemporaryNameOfProcess;
using testing_support::TempFolders;

TEST(OwnTemporaryNames, OnlyTheWholeNameTheProgramMakesIsRecognised) {
  const QString ours = platform::NewTemporaryName("TopicList.ini", TemporaryKind::Write);
  const QString kept = platform::NewTemporaryName("Words.abc", TemporaryKind::Keep);
  const QString random = ours.right(12);
  struct Case {
    QString name;
    bool recognised;
  };
  const Case cases[] = {
      {ours, true},
      {kept, true},
      {".Words.abc.lexorn2-4242.download-" + random, true},
      {".download.lexorn2-7.unpack-" + random, true},
      {".Words.abc.lexorn2-4242.download-" + random.left(11), false},  // the random part cut short
      {".Words.abc.lexorn2-4242.download-" + random + "0", false},     // or too long
      {".Words.abc.lexorn2-4242.download-" + random.toUpper().replace(QRegularExpression("[0-9]"), "A"), false},
      {"Words.abc.lexorn2-4242.download-" + random, false},  // not hidden
      {".Words.abc.4242.download-" + random, false},         // no marker: an older release's or a look-alike
      {".Words.abc.lexorn2.download-" + random, false},      // no process id
      {".Words.abc.lexorn2-0.tmp-" + random, false},         // no process has id 0
      {".Words.abc.lexorn2-04242.tmp-" + random, false},     // not as the program writes an id
      {".Words.abc.lexorn2-4294971538.tmp-" + random, false},  // 2^32 + 4242: no process id
      {".Words.abc.lexorn2-4194304.tmp-" + random, false},     // above any pid_max
      {".Words.abc.lexorn2-4242.backup-" + random, false},     // not a kind of ours
      {".thesis.2024.tmp-backup", false},
      {".notes.1.tmp-draft1", false},
      {".photos.2023.unpack-holiday", false},
      {".bashrc", false},
  };
  for (const Case& test : cases) EXPECT_EQ(ParseTemporaryName(test.name).has_value(), test.recognised) << test.name.toStdString();
  EXPECT_EQ(ParseTemporaryName(ours)->pid, static_cast<long long>(::getpid()));
  EXPECT_EQ(ParseTemporaryName(ours)->baseName, "TopicList.ini");
  EXPECT_EQ(ParseTemporaryName(platform::NewTemporaryName("50%1 off.abc", TemporaryKind::Write))->baseName, "50%1 off.abc");
  EXPECT_EQ(ParseTemporaryName(kept)->kind, TemporaryKind::Keep);
  EXPECT_NE(platform::NewTemporaryName("x", TemporaryKind::Write), platform::NewTemporaryName("x", TemporaryKind::Write));
}

// What the start does with one entry of a folder.
enum class Outcome { Stays, Goes, PutBack };

TEST(OwnTemporaryNames, OnlyStaleEntriesOfTheirOwnKindUserAndScopeGoAndKeptOnesAreSettled) {
  TempFolders folders;
  const QString folder = folders.libraryFolder();
  const long long dead = DeadProcessId();
  ASSERT_GT(dead, 0);
  QProcess sleeper;  // a running process of another program
  sleeper.start("sleep", {"60"});
  ASSERT_TRUE(sleeper.waitForStarted());
  const long long running = sleeper.processId();
  const auto name = [](const QString& base, TemporaryKind kind, long long pid) {
    return TemporaryNameOfProcess(base, kind, pid);
  };
  const auto file = [&](const QString& entry, const QByteArray& bytes = "debris") {
    TempFolders::writeFile(folder + entry, bytes);
  };
  const auto privateFolder = [&](const QString& entry, mode_t mode, const QStringList& inside) {
    QDir().mkpath(folder + entry);
    for (const QString& path : inside) {
      if (path.endsWith('/')) {
        QDir().mkpath(folder + entry + '/' + path);
      } else {
        file(entry + '/' + path);
      }
    }
    ::chmod(QFile::encodeName(folder + entry).constData(), mode);
  };

  struct Case {
    QString entry;
    std::function<void(const QString&)> make;
    Outcome outcome;
  };
  const QString plain = "downloads/";
  std::vector<Case> cases = {
      {name("Words.abc", TemporaryKind::Write, dead), [&](const QString& e) { file(e); }, Outcome::Goes},
      {name("Words.ini", TemporaryKind::Download, dead), [&](const QString& e) { file(e); }, Outcome::Goes},
      {name("download", TemporaryKind::Unpack, dead),
       [&](const QString& e) { privateFolder(e, 0700, {"downloads/Words.zip", "files/Words.abc"}); }, Outcome::Goes},
      {name("download", TemporaryKind::Unpack, DeadProcessId()), [&](const QString& e) { privateFolder(e, 0700, {}); },
       Outcome::Goes},
      // Kept aside by a replacement: removed once the new entry holds the name, else put back.
      {name("Words.JPG", TemporaryKind::Keep, dead),
       [&](const QString& e) {
         file(e, "old picture");
         file("Words.JPG", "new picture");
       },
       Outcome::Goes},
      {name("Words.dic", TemporaryKind::Keep, dead), [&](const QString& e) { file(e + "/x", "old folder"); },
       Outcome::PutBack},
      // Not of the kind the name says, or not laid out as the download lays it out.
      {name("Words.abc", TemporaryKind::Write, DeadProcessId()), [&](const QString& e) { file(e + "/x"); }, Outcome::Stays},
      {name("Words.abc", TemporaryKind::Download, dead),
       [&](const QString& e) { QFile::link(folder + "Words.abc", folder + e); }, Outcome::Stays},
      {name("download", TemporaryKind::Unpack, DeadProcessId()), [&](const QString& e) { privateFolder(e, 0755, {plain}); },
       Outcome::Stays},
      {name("download", TemporaryKind::Unpack, DeadProcessId()),
       [&](const QString& e) { privateFolder(e, 0700, {"files/", "holiday.jpg"}); }, Outcome::Stays},
      {name("photos", TemporaryKind::Unpack, dead), [&](const QString& e) { privateFolder(e, 0700, {plain}); }, Outcome::Stays},
      // Out of the scope: temporaries of files the program does not write here.
      {name("Other.abc", TemporaryKind::Write, dead), [&](const QString& e) { file(e); }, Outcome::Stays},
      {name("Words", TemporaryKind::Write, dead), [&](const QString& e) { file(e); }, Outcome::Stays},
      // A process of that id runs, whatever it is.
      {name("Words.abc", TemporaryKind::Write, running), [&](const QString& e) { file(e); }, Outcome::Stays},
      {name("Words.abc", TemporaryKind::Write, ::getpid()), [&](const QString& e) { file(e); }, Outcome::Stays},
      // Look-alikes and an older release's names.
      {".Words.abc." + QString::number(dead) + ".tmp-abcdef", [&](const QString& e) { file(e); }, Outcome::Stays},
      {".thesis.2024.tmp-backup", [&](const QString& e) { file(e); }, Outcome::Stays},
      {".photos.2023.unpack-holiday", [&](const QString& e) { file(e + "/beach.jpg"); }, Outcome::Stays},
      {"Words.abc", [&](const QString& e) { file(e, "library"); }, Outcome::Stays},
  };
  if (::geteuid() == 0) {  // another user's entry of the right shape
    cases.push_back({name("Words.abc", TemporaryKind::Write, DeadProcessId()),
                     [&](const QString& e) {
                       file(e);
                       ASSERT_EQ(::chown(QFile::encodeName(folder + e).constData(), 65534, 65534), 0);
                     },
                     Outcome::Stays});
  }
  for (const Case& test : cases) test.make(test.entry);
  const platform::PrivateFolder inUse(folder);  // this process's own
  ASSERT_TRUE(inUse.created());

  QMap<QString, QByteArray> expected = FolderSnapshot(folder);
  int settled = 0;
  for (const Case& test : cases) {
    if (test.outcome == Outcome::Stays) continue;
    ++settled;
    const auto parsed = ParseTemporaryName(test.entry);
    for (const QString& path : expected.keys()) {
      if (path != test.entry && !path.startsWith(test.entry + '/')) continue;
      const QByteArray value = expected.take(path);
      if (test.outcome == Outcome::PutBack) expected.insert(parsed->baseName + path.mid(test.entry.size()), value);
    }
  }

  const auto inScope = [](const platform::TemporaryName& temporary) {
    return temporary.kind == TemporaryKind::Unpack || temporary.baseName.startsWith("Words.");
  };
  EXPECT_EQ(platform::RemoveStaleTemporaryFiles({{folder, inScope}, {folders.programFolder() + "missing/", inScope}}),
            settled);
  EXPECT_EQ(testing_support::SnapshotDifference(expected, FolderSnapshot(folder)), "");
  sleeper.kill();
  sleeper.waitForFinished();
}

// A file system as the moves meet it.
struct FileSystemPlay {
  const char* name;
  bool exchange;
  bool hardLinks;
};
constexpr FileSystemPlay kFileSystems[] = {
    {"with the atomic exchange", true, true},
    {"without the exchange (a FUSE mount)", false, true},
    {"without the exchange and hard links (FAT)", false, false},
};

class ScopedFileSystemPlay {
 public:
  explicit ScopedFileSystemPlay(const FileSystemPlay& play, std::function<bool(platform::MoveCall)> more = {}) {
    platform::SetMoveCallSeamForTesting([play, more](platform::MoveCall call) {
      if (call == platform::MoveCall::Exchange && !play.exchange) return false;
      if (call == platform::MoveCall::Link && !play.hardLinks) return false;
      return !more || more(call);
    });
  }
  ~ScopedFileSystemPlay() { platform::SetMoveCallSeamForTesting({}); }
  ScopedFileSystemPlay(const ScopedFileSystemPlay&) = delete;
  ScopedFileSystemPlay& operator=(const ScopedFileSystemPlay&) = delete;
};

TEST(EntrySwap, MovesExchangeLikeKindsRefuseOtherKindsAndRollBackExactly) {
  for (const FileSystemPlay& play : kFileSystems) {
    SCOPED_TRACE(play.name);
    const ScopedFileSystemPlay seam(play);
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
    const QMap<QString, QByteArray> targetBefore = FolderSnapshot(target);
    const QMap<QString, QByteArray> preparedBefore = FolderSnapshot(prepared);

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
    EXPECT_EQ(testing_support::SnapshotDifference(targetBefore, FolderSnapshot(target)), "");
    EXPECT_EQ(testing_support::SnapshotDifference(preparedBefore, FolderSnapshot(prepared)), "");

    // Committed, the old entries are where the prepared ones were, and nothing is left beside
    // the targets.
    platform::EntrySwap kept;
    EXPECT_TRUE(kept.move(prepared + "Lib.abc", target + "Lib.abc"));
    EXPECT_TRUE(kept.move(prepared + "Lib.JPG", target + "Lib.JPG"));
    kept.commit();
    EXPECT_EQ(TempFolders::readFile(target + "Lib.abc"), "new library");
    EXPECT_EQ(TempFolders::readFile(prepared + "Lib.abc"), "old library");
    EXPECT_EQ(TempFolders::readFile(prepared + "Lib.JPG/old.jpg"), "old");
    EXPECT_EQ(QDir(target).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
              QStringList({"Lib.JPG", "Lib.abc", "Lib.dic"}));
  }
}

TEST(EntrySwap, AReplacementTheFileSystemRefusesLeavesTheOldEntryAndNothingBesideIt) {
  for (const FileSystemPlay& play : kFileSystems) {
    SCOPED_TRACE(play.name);
    // The rename of the prepared entry over the target fails (a full quota, an I/O error).
    int renames = 0;
    const int failing = play.exchange ? 1 : (play.hardLinks ? 1 : 2);
    const ScopedFileSystemPlay seam(play, [&](platform::MoveCall call) {
      return call != platform::MoveCall::Rename || ++renames != failing;
    });
    TempFolders folders;
    const QString target = folders.libraryFolder();
    TempFolders::writeFile(folders.programFolder() + "Lib.abc", "new library");
    TempFolders::writeFile(target + "Lib.abc", "old library");
    const QMap<QString, QByteArray> before = FolderSnapshot(target);
    platform::EntrySwap swap;
    if (play.exchange) {
      // The exchange is the one call; it cannot be half done.
      EXPECT_TRUE(swap.move(folders.programFolder() + "Lib.abc", target + "Lib.abc"));
      swap.rollback();
    } else {
      QString reason;
      EXPECT_FALSE(swap.move(folders.programFolder() + "Lib.abc", target + "Lib.abc", &reason));
      EXPECT_FALSE(reason.isEmpty());
    }
    EXPECT_EQ(testing_support::SnapshotDifference(before, FolderSnapshot(target)), "");
  }
}

}  // namespace
