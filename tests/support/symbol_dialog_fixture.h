#pragma once
// A fixture for the symbol dialogs and their samples: the bar's drawing fixture (bar loaded and
// shown, known fonts), a cycle filled directly, the tray items' texts and the library settings
// file. Dialogs and tray menu are unloaded afterwards.

#include "bar/frmSysMenu.h"
#include "libraries/frmGroupKeyword.h"
#include "libraries/frmMeaningKeyword.h"
#include "libraries/frmPhoneticKeyword.h"
#include "platform/ini/ini.h"
#include "tests/support/bar_drawing_fixture.h"

namespace testing_support {

class SymbolDialogFixture : public BarDrawingFixture {
 protected:
  void SetUp() override {
    BarDrawingFixture::SetUp();
    TempFolders::writeFile(folders().programFolder() + "LANG_C.dat",
                           "[frmSysMenu]\r\nmnuSysTrayShowGroupKeyword=\"Groups: \"\r\n"
                           "mnuSysTrayShowPhoneticKeyword=\"Phonetics: \"\r\nmnuSysTrayShowMeaningKeyword=\"Meanings: \"\r\n");
    TempFolders::writeFile(settingsFile(), "");
    g_UILanguage = "C";
  }

  void TearDown() override {
    frmGroupKeyword::unload();
    frmMeaningKeyword::unload();
    frmPhoneticKeyword::unload();
    frmSysMenu::unload();
    BarDrawingFixture::TearDown();
  }

  // The cycle's rows with the bar at `position`, the dialogs' first sample row.
  static void setCycle(const QStringList& rows, std::int16_t position = 0) {
    g_CycleTable.clear();
    for (const QString& row : rows) g_CycleTable.push_back({row, QString(), QString()});
    g_CycleCount = g_CycleLast = static_cast<std::int16_t>(rows.size());
    g_CyclePos = position;
  }

  QString settingsFile() const { return folders().libraryFolder() + "Words.ini"; }
  QString stored(const QString& key) const { return platform::ReadProfileString(settingsFile(), "Normal", key, "-"); }

  // The list entry of the sample's character at `at` (entry 0 is the current symbol).
  static int sampleEntry(int at) { return at + 1; }
};

}  // namespace testing_support
