// The real program started with FIFOs where its settings and language files belong: it must not
// wait for a writer that never comes, and it must leave them FIFOs. Started on a library path that
// is no library file (a FIFO, a folder, a device) or on a library far past its line limit, it
// refuses it in a message (the unit tests check its words), opens no bar, ends, and leaves every
// file as it was.
#include "tests/support/library_files.h"
#include "tests/support/message_windows.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_folders.h"
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace testing_support;

bool MakeFifo(const QString& path) {
  QFile::remove(path);
  return ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
}

bool IsFifo(const QString& path) {
  struct stat info {};
  return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISFIFO(info.st_mode);
}

TEST(NonRegularFilesX11, FifosInPlaceOfTheSettingsAndLanguageFilesDoNotHoldTheStart) {
  XvfbServer server;
  ASSERT_TRUE(server.running()) << server.error().toStdString();
  ProgramRun program(server);
  FixtureLibrary library;
  library.lines = QStringList{QStringLiteral("{AC}")} + SampleWordLines(10);
  program.writeLibrary(library);
  // Settings.ini (read through the same reader) shows the bar, so the start can be seen.
  TempFolders::writeFile(program.programFolder() + "/Settings.ini", "[Global]\nWordShowMain=X\nWordSpeak=0\n");
  const QStringList fifos{program.settingsPath(), program.programFolder() + "/LANG_C.dat",
                          program.profileFolder() + "/CORVELSETUP.ini"};
  for (const QString& path : fifos) ASSERT_TRUE(MakeFifo(path)) << path.toStdString();

  ASSERT_TRUE(program.start());
  EXPECT_FALSE(program.waitForWindow().isEmpty()) << program.log().toStdString();
  EXPECT_TRUE(program.process()->running());
  for (const QString& path : fifos) EXPECT_TRUE(IsFifo(path)) << path.toStdString();
}

// Every entry of a folder (hidden ones too) by name: what it is, and a regular file's bytes.
QMap<QString, QByteArray> FolderSnapshot(const QString& folder) {
  QMap<QString, QByteArray> entries;
  for (const QFileInfo& entry :
       QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
    struct stat info {};
    ::lstat(QFile::encodeName(entry.filePath()).constData(), &info);
    const QByteArray kind = QByteArray::number(info.st_mode & S_IFMT) + ":";
    entries.insert(entry.fileName(), S_ISREG(info.st_mode) ? kind + TempFolders::readFile(entry.filePath()) : kind);
  }
  return entries;
}

struct UnopenableLibrary {
  const char* what;
  std::function<QString(ProgramRun& program)> make;  // makes it; returns its path
};

TEST(NonRegularFilesX11, ALibraryThatIsNoFileOrFarPastItsLimitIsRefusedAndNothingChanges) {
  const std::vector<UnopenableLibrary> cases = {
      {"a FIFO",
       [](ProgramRun& program) {
         MakeFifo(program.libraryPath());
         return program.libraryPath();
       }},
      {"a folder named x.abc",
       [](ProgramRun& program) {
         const QString folder = QFileInfo(program.libraryPath()).absolutePath() + "/x.abc";
         QDir().mkpath(folder);
         return folder;
       }},
      {"/dev/zero", [](ProgramRun&) { return QStringLiteral("/dev/zero"); }},
      {"/dev/urandom", [](ProgramRun&) { return QStringLiteral("/dev/urandom"); }},
      {"a library of 1,000,000 lines",
       [](ProgramRun& program) {
         FixtureLibrary library;
         library.lines = QStringList{QStringLiteral("{AC}")} + SampleWordLines(999'999);
         program.writeLibrary(library);
         return program.libraryPath();
       }},
  };
  XvfbServer server;
  ASSERT_TRUE(server.running()) << server.error().toStdString();
  for (const UnopenableLibrary& c : cases) {
    SCOPED_TRACE(c.what);
    ProgramRun program(server);
    TempFolders::writeFile(program.programFolder() + "/Settings.ini", "[Global]\nWordUILanguage=A\nWordSpeak=0\n");
    const QString path = c.make(program);
    const QString folder = QFileInfo(program.libraryPath()).absolutePath();
    const QMap<QString, QByteArray> before = FolderSnapshot(folder);

    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(program.startOn(path));
    QStringList messages;
    ASSERT_TRUE(WaitUntil(
        [&] {
          messages = MessageWindows(server.display(), program.process()->processId());
          return !messages.isEmpty();
        },
        10s))
        << program.log().toStdString();
    EXPECT_LT(clock.elapsed(), 5000) << "told at once";
    EXPECT_EQ(program.desktopWindows(), messages) << "no bar beside the message";

    ASSERT_TRUE(CloseMessage(server.display(), messages[0]));
    EXPECT_TRUE(program.process()->waitForExit(5s)) << "the program ends: there is nothing to open";
    EXPECT_EQ(program.process()->exitCode(), 1);
    EXPECT_EQ(FolderSnapshot(folder), before);
  }
}

}  // namespace
