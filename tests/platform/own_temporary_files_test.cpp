// The program's own temporary names, the start-up removal of those a dead process left, and the
// moves into place that keep the old entry until the new one holds its name.

#include "platform/files/entry_swap.h"
#include "platform/files/own_temporary_names.h"
#include "platform/files/private_folder.h"
#include "platform/files/replace_journal.h"
#include "tests/support/stale_entries.h"
#include "tests/support/temp_folders.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <filesystem>
#include <functional>
#include <iterator>
#include <optional>

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

TEST(OwnTemporaryNames, EveryNameFitsAndIsParsedBackToItsWholeBaseAndKind) {
  // Base names up to 255 bytes of characters of one to four bytes, and of the characters the name
  // itself uses.
  const QString pieces[] = {"a", "é", "词", "😀", ".", "~", "-", "%1", " ", "\n"};
  QRandomGenerator random(20261210);
  std::vector<QString> bases = {QString(216, u'a'), QString(217, u'a'), QString(255, u'a'), QString(85, u'词'),
                                "a" + QString("😀").repeated(62) + "abc"};
  for (int made = 0; made < 3000; ++made) {
    const qsizetype bytes = random.bounded(1, 256);
    QString base;
    while (true) {
      const QString& piece = pieces[random.bounded(static_cast<int>(std::size(pieces)))];
      if ((base + piece).toUtf8().size() > bytes) break;
      base += piece;
    }
    if (!base.isEmpty()) bases.push_back(base);
  }
  const TemporaryKind kinds[] = {TemporaryKind::Write, TemporaryKind::Download, TemporaryKind::Unpack, TemporaryKind::Keep};
  for (const QString& base : bases) {
    for (const TemporaryKind kind : kinds) {
      const QString name = platform::NewTemporaryName(base, kind);
      SCOPED_TRACE(name.toStdString());
      ASSERT_LE(name.toUtf8().size(), 255);
      ASSERT_EQ(QString::fromUtf8(name.toUtf8()), name);  // whole characters only
      std::optional<platform::TemporaryName> parsed = ParseTemporaryName(name);
      ASSERT_TRUE(parsed.has_value());
      EXPECT_EQ(parsed->kind, kind);
      EXPECT_EQ(parsed->pid, static_cast<long long>(::getpid()));
      EXPECT_TRUE(base.startsWith(parsed->baseName) && !parsed->baseName.isEmpty());  // recognisable
      // Names in the same folder that start alike are not taken for it.
      const QStringList folder = {base.chopped(1) + "x", base + "x", base, "x" + base};
      ASSERT_TRUE(platform::ResolveCutBaseName(*parsed, folder));
      ASSERT_EQ(parsed->baseName, base);
    }
  }
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

// The target folder's entries besides the private folder, hidden ones included.
QStringList EntriesBeside(const QString& folder, const platform::PrivateFolder& staging) {
  QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
  names.removeAll(QFileInfo(staging.path().chopped(1)).fileName());
  return names;
}

TEST(EntrySwap, MovesExchangeLikeKindsRefuseOtherKindsAndRollBackExactly) {
  for (const FileSystemPlay& play : kFileSystems) {
    SCOPED_TRACE(play.name);
    const ScopedFileSystemPlay seam(play);
    TempFolders folders;
    const QString target = folders.libraryFolder();
    TempFolders::writeFile(target + "Lib.abc", "old library");
    TempFolders::writeFile(target + "Lib.JPG/old.jpg", "old");
    TempFolders::writeFile(target + "Lib.dic", "a file");
    const QMap<QString, QByteArray> targetBefore = FolderSnapshot(target);
    const platform::PrivateFolder staging(target);
    const QString prepared = staging.path() + "files/";
    TempFolders::writeFile(prepared + "Lib.abc", "new library");
    TempFolders::writeFile(prepared + "Lib.JPG/new.jpg", "new");
    TempFolders::writeFile(prepared + "Lib.dic/x", "folder");
    TempFolders::writeFile(prepared + "Lib.ini", "new settings");
    const QMap<QString, QByteArray> preparedBefore = FolderSnapshot(prepared);
    const auto set = [&](const QStringList& names) {
      std::vector<std::pair<QString, QString>> entries;
      for (const QString& name : names) entries.emplace_back(prepared + name, name);
      return entries;
    };

    {
      platform::EntrySwap swap(staging.path(), "Lib");
      QString reason;
      EXPECT_FALSE(swap.move(set({"Lib.ini", "Lib.dic", "Lib.abc"}), &reason));  // a folder never replaces a file
      EXPECT_FALSE(reason.isEmpty());
      EXPECT_FALSE(platform::EntrySwap(staging.path(), "Other").move(set({"Lib.abc"})));  // not the item's entry
      EXPECT_EQ(testing_support::SnapshotDifference(preparedBefore, FolderSnapshot(prepared)), "");

      EXPECT_TRUE(swap.move(set({"Lib.JPG", "Lib.ini", "Lib.abc"})));
      EXPECT_EQ(TempFolders::readFile(target + "Lib.abc"), "new library");
      EXPECT_TRUE(QFile::exists(target + "Lib.JPG/new.jpg"));
      EXPECT_FALSE(QFile::exists(target + "Lib.JPG/old.jpg"));
      EXPECT_TRUE(swap.rollback());
    }
    QMap<QString, QByteArray> now = FolderSnapshot(target);
    for (const QString& path : now.keys()) {
      if (path.startsWith(staging.path().mid(target.size()).chopped(1))) now.remove(path);
    }
    EXPECT_EQ(testing_support::SnapshotDifference(targetBefore, now), "");
    EXPECT_EQ(testing_support::SnapshotDifference(preparedBefore, FolderSnapshot(prepared)), "");

    // Finished, nothing but the new entries is left beside the private folder.
    platform::EntrySwap swap(staging.path(), "Lib");
    EXPECT_TRUE(swap.move(set({"Lib.JPG", "Lib.abc"})));
    swap.finish();
    EXPECT_EQ(TempFolders::readFile(target + "Lib.abc"), "new library");
    EXPECT_EQ(EntriesBeside(target, staging), QStringList({"Lib.JPG", "Lib.abc", "Lib.dic"}));
    EXPECT_FALSE(QFile::exists(staging.path() + platform::ReplaceJournalName()));
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
    TempFolders::writeFile(target + "Lib.abc", "old library");
    const QMap<QString, QByteArray> before = FolderSnapshot(target);
    {
      const platform::PrivateFolder staging(target);
      TempFolders::writeFile(staging.path() + "files/Lib.abc", "new library");
      platform::EntrySwap swap(staging.path(), "Lib");
      QString reason;
      if (play.exchange) {
        // The exchange is the one call; it cannot be half done.
        EXPECT_TRUE(swap.move({{staging.path() + "files/Lib.abc", "Lib.abc"}}));
        EXPECT_TRUE(swap.rollback());
      } else {
        EXPECT_FALSE(swap.move({{staging.path() + "files/Lib.abc", "Lib.abc"}}, &reason));
        EXPECT_FALSE(reason.isEmpty());
      }
    }
    EXPECT_EQ(testing_support::SnapshotDifference(before, FolderSnapshot(target)), "");
  }
}

TEST(EntrySwap, TheStartFollowsOnlyAWholeJournalOfTheItemsOwnEntriesAndTouchesNothingElse) {
  TempFolders folders;
  const QString target = folders.libraryFolder();
  TempFolders::writeFile(target + "Big.abc", "old library");
  TempFolders::writeFile(target + "Big.ini", "the learner's settings");
  TempFolders::writeFile(target + "Other.abc", "another library");
  const long long dead = DeadProcessId();
  const auto keptFor = [dead](const QString& name) { return TemporaryNameOfProcess(name, TemporaryKind::Keep, dead); };

  struct Case {
    const char* what;
    std::function<QByteArray(platform::ReplaceJournal)> text;
    bool followed;  // false: the journal cannot be followed
  };
  // A journal naming one more entry than the library would, if followed, move that entry into the
  // private folder (as a new entry put back where it was prepared), which then goes.
  const auto withOther = [&](platform::ReplaceJournal journal, const QString& name, const QString& kept) {
    journal.entries.insert(journal.entries.begin(), {name, "files/Gone.abc", kept, 1, 1});
    return platform::JournalText(journal);
  };
  const Case cases[] = {
      {"whole", [](platform::ReplaceJournal j) { return platform::JournalText(j); }, true},
      {"cut short", [](platform::ReplaceJournal j) { return platform::JournalText(j).chopped(6); }, true},
      {"cut short in its first line", [](platform::ReplaceJournal) { return QByteArray("lexorn2-rep"); }, true},
      {"empty", [](platform::ReplaceJournal) { return QByteArray(); }, true},
      {"another library", [&](platform::ReplaceJournal j) { return withOther(j, "Other.abc", keptFor("Other.abc")); }, false},
      {"a path out of the folder",
       [&](platform::ReplaceJournal j) { return withOther(j, "Big.x/../../Other.abc", keptFor("Big.x")); }, false},
      {"a kept name not made for its entry",
       [&](platform::ReplaceJournal j) { return withOther(j, "Big.JPG", keptFor("Big.abc")); }, false},
      {"a kept name of another process",
       [&](platform::ReplaceJournal j) {
         return withOther(j, "Big.JPG", TemporaryNameOfProcess("Big.JPG", TemporaryKind::Keep, DeadProcessId()));
       },
       false},
      {"a learner's file as the kept name", [&](platform::ReplaceJournal j) { return withOther(j, "Big.JPG", "Big.ini"); }, false},
      {"a prepared path out of the private folder",
       [](platform::ReplaceJournal j) {
         j.entries.back().prepared = "files/../../Other.abc";
         return platform::JournalText(j);
       },
       false},
      {"an entry named twice",
       [&](platform::ReplaceJournal j) { return withOther(j, "Big.abc", keptFor("Big.abc")); }, false},
      {"no entry", [](platform::ReplaceJournal j) { return platform::JournalText({j.item, {}}); }, false},
      {"a name that is not UTF-8",
       [](platform::ReplaceJournal j) { return platform::JournalText(j).replace("Big.abc", "Big.%FF"); }, false},
      {"too many entries",
       [&](platform::ReplaceJournal j) {
         for (int more = 0; more < platform::kMostJournalEntries; ++more) {
           const QString name = QString("Big.%1").arg(more);
           j.entries.insert(j.entries.begin(), {name, "files/" + name, keptFor(name), 1, 1});
         }
         return platform::JournalText(j);
       },
       false},
      {"too long", [](platform::ReplaceJournal j) { return platform::JournalText(j) + QByteArray(platform::kLongestJournal, '\n'); },
       false},
      {"something else", [](platform::ReplaceJournal) { return QByteArray("[Normal]\nWordWait=X\n"); }, false},
  };
  const auto all = [](const platform::TemporaryName&) { return true; };
  const QString kept = keptFor("Big.abc");
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    const QMap<QString, QByteArray> before = FolderSnapshot(target);
    // A dead process's private folder, and the old library kept aside by a second name.
    const QString privateFolder = target + TemporaryNameOfProcess("download", TemporaryKind::Unpack, dead) + "/";
    TempFolders::writeFile(privateFolder + "files/Big.abc", "new library");
    ASSERT_EQ(::chmod(QFile::encodeName(privateFolder).constData(), 0700), 0);
    ASSERT_EQ(::link(QFile::encodeName(target + "Big.abc").constData(), QFile::encodeName(target + kept).constData()), 0);
    struct stat prepared {};
    ASSERT_EQ(::lstat(QFile::encodeName(privateFolder + "files/Big.abc").constData(), &prepared), 0);
    const platform::ReplaceJournal journal{"Big", {{"Big.abc", "files/Big.abc", kept, prepared.st_dev, prepared.st_ino}}};
    TempFolders::writeFile(privateFolder + platform::ReplaceJournalName(), test.text(journal));
    const QMap<QString, QByteArray> planted = FolderSnapshot(target);

    platform::RemoveStaleTemporaryFiles({{target, all}});
    // Followed, the set is undone and nothing is left; otherwise nothing at all is touched, the
    // kept entry included.
    EXPECT_EQ(testing_support::SnapshotDifference(test.followed ? before : planted, FolderSnapshot(target)), "");
    std::filesystem::remove_all(QFile::encodeName(privateFolder).toStdString());
    QFile::remove(target + kept);
  }
}

}  // namespace
