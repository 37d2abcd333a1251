#pragma once
// A fixture for segment and cycle tests: a temporary program folder with a language file whose
// texts are easy to recognise, the bar loaded, and the library tables filled directly.

#include "bar/SkolvaneBar.h"
#include "bar/frmSysMenu.h"
#include "core/do_loading_bas.h"
#include "core/vars_bas.h"
#include "platform/app/folders.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/temp_folders.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

// Failing comparisons of texts print the text.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace testing_support {

class SegmentFixture : public ::testing::Test {
 protected:
  // The language file of the tests: the texts the segment code builds its captions from, plus
  // further menu texts and sections a derived fixture needs.
  static QByteArray LanguageFile(const QByteArray& moreMenuTexts = {}, const QByteArray& moreSections = {}) {
    return QByteArray("[frmSysMenu]\r\n"
                      "mnuSysTrayType_A1=\"Segment \"\r\n"
                      "mnuSysTrayType_A2=\" done\"\r\n"
                      "mnuSysTrayType_C1=\"All \"\r\n"
                      "mnuSysTrayType_C2=\" lines\"\r\n") +
           moreMenuTexts +
           "[SkolvaneBar]\r\n"
           "Lbl_SysInfo_A=Ready\r\n"
           "Lbl_SysInfo_B=Nothing left in the library\r\n"
           "Lbl_SysInfo_E=Nothing left in this segment\r\n" +
           moreSections;
  }

  void SetUp() override {
    platform::SetProgramFolder(folders_.programFolder());
    TempFolders::writeFile(folders_.programFolder() + "LANG_C.dat", LanguageFile());
    g_UILanguage = "C";
    // Loaded before the tables are filled: the bar's load handler opens a library of its own.
    bar_ = &SkolvaneBar::instance();
    dialogs_->messages.clear();  // what the bar's start had to say
    ResetTables();
  }

  void TearDown() override {
    SkolvaneBar::unload();
    frmSysMenu::unload();
    platform::SetProgramFolder({});
  }

  // Undoes what the bar's load set up from its own library: an empty library as the loader
  // leaves it, no segment or cycle, whole-library mode, the first segment of 30.
  static void ResetTables() {
    g_WordLines = {QString()};
    g_LineCount = g_LineCountCopy = 0;
    g_Groups.assign(kMaxWordGroups + 1, WordGroup{});
    g_GroupCount = 0;
    g_GroupName.clear();
    g_SegmentLines.clear();
    g_SegmentLineCount = 0;
    g_SegmentCount.clear();
    g_SegmentCycleCount = 0;
    g_SegmentRebuilt = false;
    g_CycleTable.clear();
    g_CycleCount = 0;
    g_CyclePos = g_CycleFirst = g_CycleLast = 1;
    g_CurrentText.clear();
    g_Speed = 2000;
    g_LearnMode = 1;
    g_Wait = false;
    g_DoSegment = false;
    g_SegmentNo = "0001";
    g_SegmentSize = "30";
    g_GroupSymbolStart.clear();
    g_GroupSymbolEnd.clear();
  }

  // Makes `lines` the open library (line 0 is the header line), with its group table built as
  // the loader builds it from the current group symbols.
  static void SetLibrary(std::vector<QString> lines) {
    g_WordLines = std::move(lines);
    g_LineCount = g_LineCountCopy = static_cast<std::int16_t>(g_WordLines.size() - 1);
    g_Groups.assign(kMaxWordGroups + 1, WordGroup{});
    g_GroupCount = 0;
    if (g_GroupSymbolStart.isEmpty() || g_GroupSymbolEnd.isEmpty()) return;
    for (const QString& line : g_WordLines) {
      if (line.contains(g_GroupSymbolStart) && line.contains(g_GroupSymbolEnd)) {
        g_Groups[static_cast<size_t>(++g_GroupCount)].header = line;
        g_GroupName = line;
      } else if (g_GroupCount > 0) {
        ++g_Groups[static_cast<size_t>(g_GroupCount)].lineCount;
      }
    }
  }

  // A header line and `count` word lines "w1@x1" .. "w<count>@x<count>".
  static void SetNumberedLibrary(int count) {
    std::vector<QString> lines{"{AC}"};
    for (int i = 1; i <= count; ++i) lines.push_back(QStringLiteral("w%1@x%1").arg(i));
    SetLibrary(std::move(lines));
  }

  static void UseFixedSegments(const QString& size, const QString& number) {
    g_DoSegment = true;
    g_SegmentSize = size;
    g_SegmentNo = number;
  }

  static void UseGroups(const QString& number) {
    g_DoSegment = true;
    g_GroupSymbolStart = "<";
    g_GroupSymbolEnd = ">";
    g_SegmentNo = number;
  }

  // The raw line indices of the segment line table.
  static std::vector<int> SegmentRawIndices() {
    std::vector<int> indices;
    for (const SegmentLine& row : g_SegmentLines) indices.push_back(row.rawIndex.toInt());
    return indices;
  }

  static std::vector<int> Range(int first, int last) {
    std::vector<int> values;
    for (int i = first; i <= last; ++i) values.push_back(i);
    return values;
  }

  static QString TypeCaption() { return frmSysMenu::instance().mnuSysTrayType->caption(); }

  TempFolders folders_;
  ScopedRecordingDialogs dialogs_;
  SkolvaneBar* bar_ = nullptr;
};

}  // namespace testing_support
