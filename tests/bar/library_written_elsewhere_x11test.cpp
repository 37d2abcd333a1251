// The real program killing a word while another program writes its library: an editor rewriting
// the file in place in steps with pauses from 50 ms to a second, a program adding a line by atomic
// rename every 30 ms, and one rewriting it with the same size. On a local disk the kernel tells the
// program that the editor has the file open; on a FUSE mount written from behind, and for a file of
// another user read without CAP_LEASE, it cannot, and the program waits for a quiet file instead.
// The kill never saves half a library nor drops a line the other program wrote: it waits until the
// other program is done or is refused with a message, and once the other program is done the next
// kill goes through. Every other file of the library's folder stays byte for byte.
#include "tests/support/bindfs_mount.h"
#include "tests/support/library_files.h"
#include "tests/support/library_writers.h"
#include "tests/support/message_windows.h"
#include "tests/support/program_run.h"
#include "tests/support/skip_log.h"
#include "tests/support/temp_folders.h"
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QMap>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

#include <linux/capability.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

using namespace testing_support;

QMap<QString, QByteArray> FilesIn(const QString& folder) {
  QMap<QString, QByteArray> files;
  for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System))
    files.insert(file.fileName(), TempFolders::readFile(file.filePath()));
  return files;
}

QStringList WithoutMarks(QStringList lines) {
  for (QString& line : lines) {
    if (line.startsWith('*')) line.remove(0, 1);
  }
  return lines;
}

int Marks(const QStringList& lines) {
  return static_cast<int>(std::count_if(lines.begin(), lines.end(), [](const QString& l) { return l.startsWith('*'); }));
}

using namespace std::chrono_literals;

// Starts writing the library; the returned call waits until the writer is done and gives the lines
// it left (before any kill's mark).
using StartWriter = std::function<std::function<QStringList()>(const QString& path, const QStringList& library)>;

// An editor saving the library with one more line in place: truncate, then `step` bytes at a time.
StartWriter InPlaceEditor(qsizetype step, std::chrono::milliseconds pause) {
  return [step, pause](const QString& path, const QStringList& library) {
    const QStringList edited = library + QStringList{"edited@[e]"};
    auto editor = std::make_shared<InPlaceRewriter>(path, LibraryBytes(edited), step, pause);
    return std::function<QStringList()>([editor, edited] {
      editor->finish();
      return edited;
    });
  };
}

// Where the library is and who reads it.
enum class Place {
  LocalDisk,     // the kernel sees every writer
  BehindFuse,    // the program reads through a bindfs mount, the writer writes the folder behind it
  OtherOwner,    // a file of another user, the program without CAP_LEASE
};

enum class Outcome { Killed, Either };

struct WriterCase {
  const char* what;
  Place place;
  StartWriter start;
  Outcome outcome;
};

TEST(LibraryWrittenElsewhereX11, AKillNeverSavesHalfALibraryNorDropsALineAnotherProgramWrote) {
  constexpr qsizetype kChunk = 64 * 1024;
  const StartWriter appender = [](const QString& path, const QStringList& library) {
    auto appender = std::make_shared<RenamingAppender>(path, 30ms);
    return std::function<QStringList()>([appender, library] {
      std::this_thread::sleep_for(2500ms);
      return library + appender->stop();
    });
  };
  // The last word becomes "WORD3001…": as many bytes, another digest.
  const StartWriter sameSize = [](const QString& path, const QStringList& library) {
    QStringList changed = library;
    changed.back().replace(0, 4, "WORD");
    InPlaceRewriter(path, LibraryBytes(changed), kChunk, 0ms).finish();
    return std::function<QStringList()>([changed] { return changed; });
  };
  const std::vector<WriterCase> cases = {
      {"an editor in place, 4 KB steps 50 ms apart", Place::LocalDisk, InPlaceEditor(4096, 50ms), Outcome::Killed},
      {"an editor in place, 64 KiB steps 50 ms apart", Place::LocalDisk, InPlaceEditor(kChunk, 50ms), Outcome::Killed},
      {"an editor in place, 64 KiB steps 300 ms apart", Place::LocalDisk, InPlaceEditor(kChunk, 300ms),
       Outcome::Killed},
      {"an editor in place, 64 KiB steps 1 s apart", Place::LocalDisk, InPlaceEditor(kChunk, 1s), Outcome::Killed},
      {"behind FUSE, 64 KiB steps 50 ms apart", Place::BehindFuse, InPlaceEditor(kChunk, 50ms), Outcome::Killed},
      {"behind FUSE, 64 KiB steps 1 s apart", Place::BehindFuse, InPlaceEditor(kChunk, 1s), Outcome::Either},
      {"another user's file, 64 KiB steps 300 ms apart", Place::OtherOwner, InPlaceEditor(kChunk, 300ms),
       Outcome::Killed},
      {"another user's file, 64 KiB steps 1 s apart", Place::OtherOwner, InPlaceEditor(kChunk, 1s), Outcome::Either},
      {"a program adding a line by atomic rename every 30 ms", Place::LocalDisk, appender, Outcome::Either},
      {"a program rewriting it with the same size", Place::LocalDisk, sameSize, Outcome::Either},
  };
  XvfbServer server;
  ASSERT_TRUE(server.running()) << server.error().toStdString();
  QStringList lackedMounts;
  for (const WriterCase& c : cases) {
    SCOPED_TRACE(c.what);
    ProgramRun program(server);
    FixtureLibrary library;
    library.lines = QStringList{QStringLiteral("{AC}")} + SampleWordLines(3001);
    library.normalSettings = {{"WordSpeed", "1"}, {"WordShowMain", "X"}, {"WordSpeak", "0"}, {"WordUILanguage", "A"}};
    program.writeLibrary(library);
    const QString folder = QFileInfo(program.libraryPath()).absolutePath();
    std::optional<BindfsMount> mount;
    QString opened = program.libraryPath();
    if (c.place == Place::BehindFuse) {
      mount.emplace(folder);
      if (!mount->error().isEmpty()) {
        lackedMounts << mount->error();
        continue;
      }
      opened = mount->folder() + "Words.abc";
    }
    if (c.place == Place::OtherOwner) {
      ASSERT_EQ(::chown(QFile::encodeName(program.libraryPath()).constData(), 65534, 65534), 0);
      program.setChildSetup([] { ::prctl(PR_CAPBSET_DROP, CAP_LEASE, 0, 0, 0); });
    }
    ASSERT_TRUE(program.startOn(opened));
    ASSERT_FALSE(program.waitForWindow().isEmpty()) << program.log().toStdString();
    WaitUntil([] { return false; }, 2500ms);  // a few word steps, so a word is on the bar
    QMap<QString, QByteArray> before = FilesIn(folder);  // the bar's lock file is there now

    const std::function<QStringList()> finish = c.start(program.libraryPath(), library.lines);
    WaitUntil([] { return false; }, 500ms);
    ASSERT_TRUE(Xdotool(server.display(), {"key", "Escape"}).ok());
    const QStringList written = finish();
    // The kill ends with the mark in the file or with a message; wait for either.
    const qint64 pid = program.process()->processId();
    const auto marks = [&] { return Marks(LibraryLines(TempFolders::readFile(program.libraryPath()))); };
    WaitUntil([&] { return marks() > 0 || !MessageWindows(server.display(), pid).isEmpty(); }, 8s);
    const bool refused = WaitUntil([&] { return !MessageWindows(server.display(), pid).isEmpty(); }, 500ms);
    if (refused) {
      ASSERT_TRUE(CloseMessage(server.display(), MessageWindows(server.display(), pid).value(0)));
    }
    if (c.outcome == Outcome::Killed) {
      EXPECT_FALSE(refused) << "the kill waits for the other program";
    }

    const QStringList lines = LibraryLines(TempFolders::readFile(program.libraryPath()));
    EXPECT_TRUE(WithoutMarks(lines) == written)
        << lines.size() << " lines, " << written.size() << " expected: every line of the other program, none cut off";
    EXPECT_EQ(Marks(lines), refused ? 0 : 1);
    QMap<QString, QByteArray> after = FilesIn(folder);
    after.remove("Words.abc");
    before.remove("Words.abc");
    if (!refused) {
      after.remove("Words.ini");  // the day's count of the kill
      before.remove("Words.ini");
    }
    EXPECT_EQ(after, before);

    // The other program is done: the next kill goes through and keeps all of its work.
    WaitUntil([] { return false; }, 2000ms);
    const QByteArray beforeKill = TempFolders::readFile(program.libraryPath());
    ASSERT_TRUE(Xdotool(server.display(), {"key", "Escape"}).ok());
    EXPECT_TRUE(WaitUntil([&] { return TempFolders::readFile(program.libraryPath()) != beforeKill; }, 5s));
    const QStringList killed = LibraryLines(TempFolders::readFile(program.libraryPath()));
    EXPECT_TRUE(WithoutMarks(killed) == written) << killed.size() << " lines, " << written.size() << " expected";
    EXPECT_EQ(Marks(killed), Marks(lines) + 1);
    EXPECT_TRUE(MessageWindows(server.display(), pid).isEmpty());
    program.process()->stop();
  }
  if (!lackedMounts.isEmpty()) SKIP_AS_THE_MACHINE_LACKS("a bindfs mount: " << lackedMounts.join("; ").toStdString());
}

}  // namespace
