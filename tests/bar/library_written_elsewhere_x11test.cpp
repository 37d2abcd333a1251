// The real program killing a word while another program writes its library: an editor rewriting
// the file in place in 4 KB steps, and a program adding a line by atomic rename every 30 ms. The
// kill never saves half a library nor drops a line the other program wrote: it waits for a
// whole, settled file or is refused with a message, and once the other program is done the next
// kill goes through. Every other file of the library's folder stays byte for byte.
#include "tests/support/library_files.h"
#include "tests/support/library_writers.h"
#include "tests/support/message_windows.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_folders.h"
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QMap>

#include <algorithm>
#include <functional>
#include <memory>
#include <thread>

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

struct OtherWriter {
  const char* what;
  // Starts writing the library; the returned call waits until the writer is done and gives the
  // lines it left (before any kill's mark).
  std::function<std::function<QStringList()>(const QString& path, const QStringList& library)> start;
};

TEST(LibraryWrittenElsewhereX11, AKillNeverSavesHalfALibraryNorDropsALineAnotherProgramWrote) {
  using namespace std::chrono_literals;
  const std::vector<OtherWriter> writers = {
      {"an editor rewriting it in place in 4 KB steps, 50 ms apart",
       [](const QString& path, const QStringList& library) {
         const QStringList edited = library + QStringList{"edited@[e]"};
         auto editor = std::make_shared<InPlaceRewriter>(path, LibraryBytes(edited), 4096, 50ms);
         return std::function<QStringList()>([editor, edited] {
           editor->finish();
           return edited;
         });
       }},
      {"a program adding a line by atomic rename every 30 ms",
       [](const QString& path, const QStringList& library) {
         auto appender = std::make_shared<RenamingAppender>(path, 30ms);
         return std::function<QStringList()>([appender, library] {
           std::this_thread::sleep_for(2500ms);
           return library + appender->stop();
         });
       }},
  };
  XvfbServer server;
  ASSERT_TRUE(server.running()) << server.error().toStdString();
  for (const OtherWriter& writer : writers) {
    SCOPED_TRACE(writer.what);
    ProgramRun program(server);
    FixtureLibrary library;
    library.lines = QStringList{QStringLiteral("{AC}")} + SampleWordLines(3001);
    library.normalSettings = {{"WordSpeed", "1"}, {"WordShowMain", "X"}, {"WordSpeak", "0"}, {"WordUILanguage", "A"}};
    program.writeLibrary(library);
    const QString folder = QFileInfo(program.libraryPath()).absolutePath();
    ASSERT_TRUE(program.start());
    ASSERT_FALSE(program.waitForWindow().isEmpty()) << program.log().toStdString();
    WaitUntil([] { return false; }, 2500ms);  // a few word steps, so a word is on the bar
    QMap<QString, QByteArray> before = FilesIn(folder);  // the bar's lock file is there now

    const std::function<QStringList()> finish = writer.start(program.libraryPath(), library.lines);
    WaitUntil([] { return false; }, 500ms);
    ASSERT_TRUE(Xdotool(server.display(), {"key", "Escape"}).ok());
    const QStringList written = finish();
    // A refused kill says so; let the bar finish either way.
    const qint64 pid = program.process()->processId();
    const bool refused = WaitUntil([&] { return !MessageWindows(server.display(), pid).isEmpty(); }, 3s);
    if (refused) {
      ASSERT_TRUE(CloseMessage(server.display(), MessageWindows(server.display(), pid).value(0)));
    }

    const QStringList lines = LibraryLines(TempFolders::readFile(program.libraryPath()));
    EXPECT_EQ(WithoutMarks(lines), written) << "every line of the other program, and nothing cut off";
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
    WaitUntil([] { return false; }, 1500ms);
    const QByteArray beforeKill = TempFolders::readFile(program.libraryPath());
    ASSERT_TRUE(Xdotool(server.display(), {"key", "Escape"}).ok());
    EXPECT_TRUE(WaitUntil([&] { return TempFolders::readFile(program.libraryPath()) != beforeKill; }, 5s));
    const QStringList killed = LibraryLines(TempFolders::readFile(program.libraryPath()));
    EXPECT_EQ(WithoutMarks(killed), written);
    EXPECT_EQ(Marks(killed), Marks(lines) + 1);
    EXPECT_TRUE(MessageWindows(server.display(), pid).isEmpty());
    program.process()->stop();
  }
}

}  // namespace
