#include "core/kill_bas.h"

#include "tests/support/hotkey_fixture.h"
#include "tests/support/library_writers.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <algorithm>
#include <functional>
#include <memory>
#include <thread>

namespace {

using testing_support::LibraryBytes;
using testing_support::TempFolders;

class KillTest : public testing_support::HotKeyFixture {
 protected:
  void SetUp() override {
    HotKeyFixture::SetUp();
    WriteAndLoadNumberedLibrary(8);
  }

  // Builds the cycle as the bar's start does and runs `steps` word steps.
  void StartAndStep(int learnMode, bool wait, int steps) {
    g_LearnMode = static_cast<std::int16_t>(learnMode);
    g_Wait = wait;
    g_CyclePos = 1;
    PrepareSegment(true);
    Steps(steps);
  }

  // Number of cycle rows whose text is `text`.
  static int CycleRowsShowing(const QString& text) {
    int rows = 0;
    for (const CycleRow& row : g_CycleTable) rows += row.text == text ? 1 : 0;
    return rows;
  }
};

struct ModeCase {
  int learnMode;
  bool wait;
  int steps;
  const char* shown;   // the text the steps leave on the bar
  const char* killed;  // the file line that must be marked
};

TEST_F(KillTest, KillWithRebuildMarksTheShownWordInEveryModeAndWaitState) {
  const ModeCase cases[] = {
      {0, false, 3, "w3", "*w3@x3"},
      {1, false, 4, "w4  x4", "*w4@x4"},
      {2, false, 5, "w3  ", "*w3@x3"},  // the word row
      {2, false, 6, "> x3", "*w3@x3"},  // the meaning row of the same word
      {0, true, 1, "w1", "*w1@x1"},     // hold: every step shows the same row
      {2, true, 1, "w1  ", "*w1@x1"},
  };
  for (const ModeCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.learnMode << " wait " << c.wait << " steps " << c.steps);
    WriteAndLoadNumberedLibrary(8);
    StartAndStep(c.learnMode, c.wait, c.steps);
    ASSERT_EQ(g_CurrentText, c.shown);
    KillCurrentWordAndRebuild();
    EXPECT_EQ(KilledFileLines(), QStringList{c.killed});
    EXPECT_EQ(CycleRowsShowing(c.shown), 0) << "the killed word left the cycle";
    EXPECT_EQ(bar_->Tim_Wait->enabled(), true);
  }
}

TEST_F(KillTest, KillAfterAWheelTurnMarksTheWordTheWheelShows) {
  StartAndStep(0, false, 3);  // w3 shown, position 4
  bar_->MWheel1_WheelScroll(120);
  bar_->MWheel1_WheelScroll(120);  // position 2: w2 on the bar
  ASSERT_EQ(g_CurrentText, "w2");
  KillCurrentWordAndRebuild();
  EXPECT_EQ(KilledFileLines(), QStringList{"*w2@x2"});
}

TEST_F(KillTest, KillAfterTheLastRowMarksTheLastWord) {
  StartAndStep(1, false, 8);  // the last row shown; the position stands one past the end
  ASSERT_EQ(g_CurrentText, "w8  x8");
  KillCurrentWordAndRebuild();
  EXPECT_EQ(KilledFileLines(), QStringList{"*w8@x8"});
}

TEST_F(KillTest, KillWithRebuildInWaitModeShowsTheNextRowAtOnce) {
  StartAndStep(0, true, 1);
  g_CyclePos = 3;
  Steps(1);
  ASSERT_EQ(g_CurrentText, "w3");
  KillCurrentWordAndRebuild();
  EXPECT_EQ(KilledFileLines(), QStringList{"*w3@x3"});
  EXPECT_EQ(g_CurrentText, "w4") << "the row after the killed one, drawn at once";
}

TEST_F(KillTest, KillWithoutRebuildMarksTheShownWordAndKeepsTheCycle) {
  for (const int mode : {0, 1, 2}) {
    SCOPED_TRACE(testing::Message() << "mode " << mode);
    WriteAndLoadNumberedLibrary(8);
    StartAndStep(mode, false, mode == 2 ? 6 : 3);  // w3, or w3's meaning row
    g_SegmentRebuilt = true;
    const int rows = g_CycleCount;
    KillCurrentWord();
    EXPECT_EQ(KilledFileLines(), QStringList{"*w3@x3"});
    EXPECT_EQ(g_CycleCount, rows) << "the killed row stays until the next rebuild";
    EXPECT_FALSE(bar_->Tim_Wait->enabled());
    EXPECT_FALSE(g_KillSpeaking);
    g_SegmentRebuilt = false;
  }
}

TEST_F(KillTest, NothingIsMarkedOrCountedWhileNoWordIsShown) {
  StartAndStep(1, false, 0);
  ASSERT_EQ(g_CurrentText, "Ready");  // the status text a rebuild leaves
  KillCurrentWordAndRebuild();
  g_CurrentText = "词库加载中...";  // the loading text
  KillCurrentWordAndRebuild();
  g_CurrentText = QString(213, '=');  // a banner
  g_SegmentRebuilt = true;
  KillCurrentWord();
  EXPECT_TRUE(KilledFileLines().isEmpty());
  EXPECT_EQ(TodayCount(), "Error");
}

TEST_F(KillTest, KillingTheLastWordLeavesTheEmptyStatus) {
  WriteAndLoadNumberedLibrary(1);
  StartAndStep(0, true, 1);
  KillCurrentWordAndRebuild();
  EXPECT_EQ(KilledFileLines(), QStringList{"*w1@x1"});
  EXPECT_EQ(g_CycleCount, 0);
  EXPECT_EQ(g_CurrentText, "Nothing left in the library");

  WriteAndLoadNumberedLibrary(1);
  g_DoSegment = true;
  StartAndStep(0, true, 1);
  KillCurrentWordAndRebuild();
  EXPECT_EQ(g_CurrentText, "Nothing left in this segment");
}

TEST_F(KillTest, ALineChangedSinceTheWordWasShownIsNotMarked) {
  StartAndStep(0, false, 3);
  const std::optional<ShownWord> shown = FindShownWord();
  ASSERT_TRUE(shown);
  g_WordLines[static_cast<size_t>(shown->rawLine)] = "other@line";  // e.g. another library opened
  KillCurrentWordAndRebuild(shown);
  // A word that names the header line or no line at all is never marked either.
  KillCurrentWordAndRebuild(ShownWord{0, 0, 0, "{AC}"});
  KillCurrentWordAndRebuild(ShownWord{0, 0, -1, "w1@x1"});
  EXPECT_TRUE(KilledFileLines().isEmpty());
  EXPECT_EQ(FileLines().value(0), "{AC}");
  EXPECT_EQ(TodayCount(), "Error");
}

TEST_F(KillTest, AWordKilledAgainBeforeTheRebuildIsCountedOnce) {
  StartAndStep(0, false, 3);
  g_SegmentRebuilt = true;
  KillCurrentWord();
  // The kept cycle still holds the killed row, and the kill made it the current text again.
  ASSERT_EQ(g_CurrentText, "w3");
  KillCurrentWord();
  EXPECT_EQ(KilledFileLines(), QStringList{"*w3@x3"});
  EXPECT_EQ(TodayCount(), "1");
  g_SegmentRebuilt = false;
}

// The library file changed by someone else between the bar's load and a kill.
struct OutsideEdit {
  const char* what;
  QStringList fileLines;  // the file as the other writer left it
  QStringList killed;     // the marks the file must hold after the kill of "w3"
};

// Every edit with each of the two kills (true: the kill with rebuild).
std::vector<std::pair<bool, OutsideEdit>> EachKillWith(const std::vector<OutsideEdit>& edits) {
  std::vector<std::pair<bool, OutsideEdit>> cases;
  for (const bool rebuild : {true, false}) {
    for (const OutsideEdit& edit : edits) cases.emplace_back(rebuild, edit);
  }
  return cases;
}

TEST_F(KillTest, AKillAfterAnOutsideChangeReloadsMarksByTextOrWritesNothing) {
  QStringList words{"{AC}"};
  for (int i = 1; i <= 8; ++i) words << QStringLiteral("w%1@x%1").arg(i);
  QStringList otherBar = words;
  otherBar[5] = "*w5@x5";
  QStringList moved = words;
  moved.insert(1, "new@n");
  QStringList withoutW3 = words;
  withoutW3.removeAt(3);
  const std::vector<OutsideEdit> edits{
      {"another bar killed w5", otherBar, {"*w3@x3", "*w5@x5"}},
      {"replaced with a line above", moved, {"*w3@x3"}},
      {"an editor appended a line", words + QStringList{"added@a"}, {"*w3@x3"}},
      {"the word is gone", withoutW3, {}},
  };
  for (const auto& [rebuild, edit] : EachKillWith(edits)) {
    SCOPED_TRACE(edit.what + std::string(rebuild ? ", kill with rebuild" : ", kill keeping the cycle"));
    WriteAndLoadNumberedLibrary(8);
    StartAndStep(0, false, 3);
    ASSERT_EQ(g_CurrentText, "w3");
    TempFolders::writeFile(g_LibraryPath, LibraryBytes(edit.fileLines));
    const QByteArray outside = TempFolders::readFile(g_LibraryPath);
    dialogs_->messages.clear();

    if (rebuild) {
      KillCurrentWordAndRebuild();
    } else {
      g_SegmentRebuilt = true;
      KillCurrentWord();
    }
    EXPECT_EQ(KilledFileLines(), edit.killed);
    EXPECT_EQ(TodayCount(), edit.killed.isEmpty() ? "Error" : "1");
    if (edit.killed.isEmpty()) {
      EXPECT_EQ(TempFolders::readFile(g_LibraryPath), outside) << "nothing written";
      ASSERT_EQ(dialogs_->messages.size(), 1u);
      EXPECT_TRUE(dialogs_->messages[0].text.contains(g_LibraryPath));
    } else {
      // Every line of the other writer is kept.
      QStringList expected = edit.fileLines;
      expected.replaceInStrings(QRegularExpression("^w3@"), "*w3@");
      EXPECT_EQ(FileLines(), expected);
      EXPECT_TRUE(dialogs_->messages.empty());
    }
    const QStringList onDisk = FileLines();
    EXPECT_EQ(g_CycleCount, std::count_if(onDisk.begin() + 1, onDisk.end(),
                                          [](const QString& line) { return !line.startsWith('*'); }))
        << "the cycle is the library on disk";
    QFile::remove(LibrarySettingsFile());
  }
}

// The file's lines with the kill's mark taken off: what the other program wrote must all be there.
QStringList WithoutMarks(QStringList lines) {
  for (QString& line : lines) {
    if (line.startsWith('*')) line.remove(0, 1);
  }
  return lines;
}

TEST_F(KillTest, AKillWhileAnotherProgramWritesTheLibraryKeepsAllOfItsWork) {
  using namespace std::chrono_literals;
  using testing_support::InPlaceRewriter;
  using testing_support::RenamingAppender;
  const QStringList library = QStringList{"{AC}"} + testing_support::SampleWordLines(3001);
  const QStringList edited = library + QStringList{"edited@[e]"};
  struct Writer {
    const char* what;
    // Starts the writer; stopping it gives the lines the file must hold afterwards.
    std::function<std::function<QStringList()>()> start;
  };
  const Writer writers[] = {
      {"an editor rewriting it in place in 4 KB steps, 50 ms apart",
       [&] {
         auto editor = std::make_shared<InPlaceRewriter>(g_LibraryPath, LibraryBytes(edited), 4096, 50ms);
         return std::function<QStringList()>([editor, &edited] {
           editor->finish();
           return edited;
         });
       }},
      {"a program adding a line by atomic rename every 30 ms",
       [&] {
         auto appender = std::make_shared<RenamingAppender>(g_LibraryPath, 30ms);
         return std::function<QStringList()>([appender, &library] { return library + appender->stop(); });
       }},
  };
  for (const Writer& writer : writers) {
    SCOPED_TRACE(writer.what);
    WriteAndLoadLibrary(library);
    QFile::remove(LibrarySettingsFile());
    StartAndStep(0, false, 3);
    const QString shown = g_CurrentText;
    dialogs_->messages.clear();
    const std::function<QStringList()> stop = writer.start();
    std::this_thread::sleep_for(300ms);
    KillCurrentWordAndRebuild();
    const QStringList expected = stop();

    // The kill either took the library once it was whole or was refused: never a half file.
    EXPECT_EQ(WithoutMarks(FileLines()), expected);
    if (KilledFileLines().isEmpty()) {
      ASSERT_EQ(dialogs_->messages.size(), 1u);
      EXPECT_TRUE(dialogs_->messages[0].text.contains("being changed by another program"));
      EXPECT_EQ(TodayCount(), "Error");
      EXPECT_EQ(LibraryBytes(FileLines()), TempFolders::readFile(g_LibraryPath)) << "left as the writer wrote it";
    } else {
      ASSERT_EQ(KilledFileLines().size(), 1);
      EXPECT_TRUE(KilledFileLines()[0].startsWith("*" + shown + "@"));
      EXPECT_EQ(TodayCount(), "1");
    }

    // Once the other program is done, the next kill goes through and keeps its work.
    Steps(1);
    ASSERT_TRUE(FindShownWord());
    const int marked = static_cast<int>(KilledFileLines().size());
    KillCurrentWordAndRebuild();
    EXPECT_EQ(KilledFileLines().size(), marked + 1);
    EXPECT_EQ(WithoutMarks(FileLines()), expected);
  }
}

TEST_F(KillTest, DayCountStartsAtOneAndAddsUp) {
  CountKillToday();
  EXPECT_EQ(TodayCount(), "1");
  CountKillToday();
  EXPECT_EQ(TodayCount(), "2");
  EXPECT_EQ(g_IniValue, "2");

  const QString key = DayCountKey(QDate::currentDate());
  for (const char* stored : {"abc", "0", "-3", "", "2x"}) {
    platform::WriteProfileString(LibrarySettingsFile(), "Statistics", key, stored);
    CountKillToday();
    EXPECT_EQ(TodayCount(), "1") << "stored value \"" << stored << "\"";
  }
  EXPECT_EQ(DayCountKey(QDate(2024, 3, 7)), "20240307");
  EXPECT_EQ(DayCountKey(QDate(2031, 12, 25)), "20311225");
}

}  // namespace
