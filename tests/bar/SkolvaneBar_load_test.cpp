#include "bar/SkolvaneBar.h"
#include "core/segment_navigation_bas.h"
#include "core/vars_bas.h"
#include "platform/app/folders.h"
#include "platform/ini/ini.h"
#include "tests/support/library_files.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/temp_folders.h"

#include "tests/support/scoped_application_name.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

namespace {

using testing_support::TempFolders;

class BarLoad : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetProgramFolder(folders.programFolder());
    g_LibraryFolder = folders.libraryFolder();
    g_LibraryFileName = "Words.abc";
    g_LibraryPath = g_LibraryFolder + g_LibraryFileName;
    g_LibraryTitle = g_LibraryFileName;
    TempFolders::writeFile(g_LibraryPath, testing_support::LibraryBytes(
                                              QStringList{"{AC}"} + testing_support::SampleWordLines(40)));
  }
  void TearDown() override {
    SkolvaneBar::unload();
    platform::SetProgramFolder({});
  }
  void setLibrary(const QString& key, const QString& value) {
    platform::WriteProfileString(folders.libraryFolder() + "Words.ini", "Normal", key, value);
  }

  TempFolders folders;
  testing_support::ScopedRecordingDialogs dialogs;
};

TEST_F(BarLoad, TextReaderEditionInSegmentModeNamesItselfOnTheLogoFromTheStart) {
  testing_support::ScopedApplicationName edition("CorvelTextReader");
  setLibrary("WordDoSegment", "X");
  setLibrary("WordWait", "X");
  SkolvaneBar& bar = SkolvaneBar::instance();
  EXPECT_EQ(bar.logo[0]->toolTip(), TextReaderEditionTitle() + ": " + g_LibraryPath);
  EXPECT_EQ(bar.Pic_SegNo->toolTip(), "");
}

}  // namespace
