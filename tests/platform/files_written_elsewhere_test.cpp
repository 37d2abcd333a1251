// Reading and replacing a file that another program writes at the same time: a read counts as
// whole only when nothing changed the file across it and for a moment after its last write, and a
// replace checks once more right before its rename, leaving someone else's change in place. The
// kernel's read lease tells whether any program has the file open for writing, and says "unknown"
// where it cannot tell.
#include "platform/files/checked_replace.h"
#include "platform/files/read_lease.h"
#include "platform/files/safe_read.h"

#include "tests/support/bindfs_mount.h"
#include "tests/support/skip_log.h"
#include "tests/support/temp_folders.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include <fcntl.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;
using testing_support::TempFolders;

void SetAge(const QString& path, std::chrono::seconds age) {
  const struct timespec past[2] = {{::time(nullptr) - age.count(), 0}, {::time(nullptr) - age.count(), 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), past, 0), 0);
}

void Append(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::Append));
  file.write(bytes);
}

struct StreamCase {
  const char* what;
  std::function<void(const QString& path)> before;   // done to the file before the read
  // Done once, at the first block the read receives; a writer that keeps on is left in `writer`.
  std::function<void(const QString& path, std::jthread& writer)> during;
  std::chrono::milliseconds quiet;
  bool stopAtFirstBlock;
  platform::StreamStatus status;
};

TEST(FileWrittenElsewhere, AReadIsWholeOnlyWhenNothingWritesTheFileAcrossItOrJustBefore) {
  const auto old = [](const QString& path) { SetAge(path, 60s); };
  const auto nothing = [](const QString&) {};
  const auto idle = [](const QString&, std::jthread&) {};
  const StreamCase cases[] = {
      {"left alone for a minute", old, idle, 200ms, false, platform::StreamStatus::Whole},
      {"written just now, then left alone", nothing, idle, 200ms, false, platform::StreamStatus::Whole},
      {"written just now, no quiet period asked", nothing, idle, 0ms, false, platform::StreamStatus::Whole},
      {"grows while it is read", old, [](const QString& p, std::jthread&) { Append(p, "more"); }, 0ms, false,
       platform::StreamStatus::Changing},
      {"replaced while it is read", old,
       [](const QString& p, std::jthread&) {
         TempFolders::writeFile(p + ".new", "other");
         ::rename(QFile::encodeName(p + ".new").constData(), QFile::encodeName(p).constData());
       },
       0ms, false, platform::StreamStatus::Changing},
      {"written again in the quiet period", nothing,
       [](const QString& p, std::jthread& writer) {
         writer = std::jthread([p] {
           std::this_thread::sleep_for(60ms);
           Append(p, "step");
         });
       },
       200ms, false, platform::StreamStatus::Changing},
      {"stopped by the reader", old, idle, 200ms, true, platform::StreamStatus::Stopped},
  };
  for (const StreamCase& c : cases) {
    SCOPED_TRACE(c.what);
    const TempFolders folders;
    const QString path = TempFolders::writeFile(folders.libraryFolder() + "Words.abc", QByteArray(200'000, 'w'));
    c.before(path);
    QByteArray got;
    bool first = true;
    std::jthread writer;
    platform::FileVersion version;
    const auto start = std::chrono::steady_clock::now();
    const platform::StreamStatus status = platform::StreamRegularFile(
        path,
        [&](QByteArrayView block) {
          got += block;
          if (first) c.during(path, writer);
          first = false;
          return !c.stopAtFirstBlock;
        },
        c.quiet, &version);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(status, c.status);
    if (status == platform::StreamStatus::Whole) {
      EXPECT_EQ(got, QByteArray(200'000, 'w'));
      EXPECT_EQ(platform::VersionOfFile(path), version);
      EXPECT_LT(took, c.quiet + 150ms) << "waits out the quiet period, no more";
    }
    if (c.stopAtFirstBlock) {
      EXPECT_LT(got.size(), 200'000) << "the rest is not read";
    }
  }
}

TEST(FileWrittenElsewhere, ANonRegularFileIsNeverOpened) {
  const TempFolders folders;
  const QString fifo = folders.libraryFolder() + "Pipe.abc";
  QDir().mkpath(folders.libraryFolder());
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
  const std::pair<QString, platform::EntryKind> kinds[] = {
      {fifo, platform::EntryKind::Fifo},
      {folders.libraryFolder(), platform::EntryKind::Folder},
      {"/dev/zero", platform::EntryKind::CharacterDevice},
      {folders.libraryFolder() + "None.abc", platform::EntryKind::Missing},
  };
  for (const auto& [path, kind] : kinds) {
    EXPECT_EQ(platform::KindOfEntry(path), kind) << path.toStdString();
    const platform::StreamStatus status = platform::StreamRegularFile(path, [](QByteArrayView) { return true; }, 200ms);
    EXPECT_EQ(status, platform::StreamStatus::Missing) << path.toStdString();
    EXPECT_FALSE(platform::VersionOfFile(path));
  }
}

QStringList FilesIn(const QString& folder) {
  return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

TEST(FileWrittenElsewhere, AReplaceLeavesAChangeMadeBeforeItsRenameInPlace) {
  struct ReplaceCase {
    const char* what;
    bool outsideChange;  // another program replaces the file while the new content is being written
    platform::ReplaceResult result;
  };
  const ReplaceCase cases[] = {
      {"nobody else writes", false, platform::ReplaceResult::Replaced},
      {"someone replaces it meanwhile", true, platform::ReplaceResult::ChangedMeanwhile},
  };
  for (const ReplaceCase& c : cases) {
    SCOPED_TRACE(c.what);
    const TempFolders folders;
    const QString path = TempFolders::writeFile(folders.libraryFolder() + "Words.abc", "old");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0604), 0);
    const QString link = folders.libraryFolder() + "Link.abc";
    ASSERT_TRUE(QFile::link(path, link));
    const std::optional<platform::FileVersion> read = platform::VersionOfFile(path);
    int checks = 0;
    platform::FileVersion written;
    const platform::ReplaceResult result = platform::ReplaceFileUnlessChanged(
        link, "new content",
        [&] {
          ++checks;
          // The new content is already on disk beside the file when the check runs.
          EXPECT_EQ(FilesIn(folders.libraryFolder()).size(), 3);
          if (c.outsideChange) TempFolders::writeFile(path, "the other program's");
          return platform::VersionOfFile(path) == read;
        },
        &written);
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(checks, 1);
    EXPECT_EQ(TempFolders::readFile(path), c.outsideChange ? "the other program's" : "new content");
    EXPECT_EQ(FilesIn(folders.libraryFolder()), (QStringList{"Link.abc", "Words.abc"})) << "nothing left behind";
    EXPECT_TRUE(QFileInfo(link).isSymLink()) << "the link is followed, not replaced";
    if (result == platform::ReplaceResult::Replaced) {
      EXPECT_EQ(QFile::permissions(path), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser |
                                              QFile::ReadOther);
      EXPECT_EQ(platform::VersionOfFile(path), written);
    }
  }
}

// Runs `body` on a thread without CAP_LEASE, as in a program of an ordinary user: capabilities
// belong to a thread, so the rest of the test process keeps its own.
void WithoutLeaseCapability(const std::function<void()>& body) {
  std::thread([&] {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct caps[_LINUX_CAPABILITY_U32S_3] = {};
    ASSERT_EQ(::syscall(SYS_capget, &header, caps), 0);
    caps[CAP_TO_INDEX(CAP_LEASE)].effective &= ~CAP_TO_MASK(CAP_LEASE);
    ASSERT_EQ(::syscall(SYS_capset, &header, caps), 0);
    body();
  }).join();
}

TEST(FileWrittenElsewhere, TheKernelTellsWhetherAnyProgramHasTheFileOpenForWriting) {
  struct LeaseCase {
    const char* what;
    bool openForWriting;     // by this very program
    bool ownedByAnother;     // another user's file
    bool withoutCapability;  // asked from a thread without CAP_LEASE
    platform::WriterState state;
  };
  const LeaseCase cases[] = {
      {"nobody has it open for writing", false, false, false, platform::WriterState::None},
      {"this very program has it open for writing", true, false, false, platform::WriterState::Writing},
      {"a reader without CAP_LEASE, its own file", false, false, true, platform::WriterState::None},
      {"a reader without CAP_LEASE, another user's file", false, true, true, platform::WriterState::Unknown},
  };
  for (const LeaseCase& c : cases) {
    SCOPED_TRACE(c.what);
    const TempFolders folders;
    const QString path = TempFolders::writeFile(folders.libraryFolder() + "Words.abc", "library");
    QFile writer(path);
    EXPECT_TRUE(!c.openForWriting || writer.open(QIODevice::Append));
    EXPECT_TRUE(!c.ownedByAnother || ::chown(QFile::encodeName(path).constData(), 65534, 65534) == 0);
    std::optional<platform::WriterState> state;
    const auto ask = [&] { state = platform::ReadLease(path).state(); };
    c.withoutCapability ? WithoutLeaseCapability(ask) : ask();
    EXPECT_EQ(state, c.state);
  }
  const TempFolders folders;
  EXPECT_EQ(platform::ReadLease(folders.libraryFolder() + "None.abc").state(), platform::WriterState::Missing);
  const QString source = folders.libraryFolder();
  TempFolders::writeFile(source + "Words.abc", "library");
  const testing_support::BindfsMount mount(source);
  if (!mount.error().isEmpty()) SKIP_AS_THE_MACHINE_LACKS("a bindfs mount: " << mount.error().toStdString());
  EXPECT_EQ(platform::ReadLease(mount.folder() + "Words.abc").state(), platform::WriterState::Unknown)
      << "on FUSE a writer behind the mount is unseen";
}

TEST(FileWrittenElsewhere, AGrantedLeaseHoldsOnlyWhileNoWriterComesInAndKeepsWritersWaiting) {
  struct HoldCase {
    const char* what;
    std::function<void(const QString& path)> meanwhile;  // done by another thread while the lease is held
    bool holds;
    bool waits;  // the other thread waits until the lease is given back
  };
  const HoldCase cases[] = {
      {"left alone", [](const QString&) {}, true, false},
      {"opened for writing", [](const QString& p) { QFile(p).open(QIODevice::Append); }, false, true},
      {"truncated", [](const QString& p) { ::truncate(QFile::encodeName(p).constData(), 0); }, false, true},
      {"replaced by a rename",
       [](const QString& p) { ::rename(QFile::encodeName(TempFolders::writeFile(p + ".new", "new")).constData(),
                                       QFile::encodeName(p).constData()); },
       false, false},
  };
  for (const HoldCase& c : cases) {
    SCOPED_TRACE(c.what);
    const TempFolders folders;
    const QString path = TempFolders::writeFile(folders.libraryFolder() + "Words.abc", "library");
    platform::ReadLease lease(path);
    ASSERT_EQ(lease.state(), platform::WriterState::None);
    std::atomic<bool> done{false};
    std::jthread other([&] {
      c.meanwhile(path);
      done = true;
    });
    std::this_thread::sleep_for(150ms);
    EXPECT_EQ(lease.holdsFor(*platform::VersionOfFile(path)), c.holds);
    EXPECT_EQ(done, !c.waits);
    lease.release();
  }
}

}  // namespace
