// The real program started with FIFOs where its settings and language files belong: it must not
// wait for a writer that never comes, and it must leave them FIFOs.
#include "tests/support/library_files.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_folders.h"
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

#include <QFile>

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

}  // namespace
