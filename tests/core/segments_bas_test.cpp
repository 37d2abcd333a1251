#include "core/segments_bas.h"

#include "core/do_loading_bas.h"
#include "core/vars_bas.h"
#include "tests/support/segment_fixture.h"

#include "tests/support/library_files.h"

#include <gtest/gtest.h>

#include <QtEndian>

#include <vector>

namespace {

using testing_support::TempFolders;

class SegmentsTest : public testing_support::SegmentFixture {};

TEST_F(SegmentsTest, FixedSegmentsCutTheLibraryInOrderWithAShortLastOne) {
  struct Case {
    int lines;
    QString size;
    QString number;
    QString segmentCount;
    int first;  // raw index of the segment's first line; last < first: empty segment
    int last;
  };
  const std::vector<Case> cases = {
      {61, "30", "0002", "3", 31, 60}, {61, "30", "0003", "3", 61, 61}, {61, "30", "0004", "3", 1, 0},
      {30, "30", "0001", "1", 1, 30},  {31, "30", "0002", "2", 31, 31}, {200, "60", "0004", "4", 181, 200},
      {200, "90", "0002", "3", 91, 180}, {200, "90", "0003", "3", 181, 200},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lines);
    SCOPED_TRACE(c.number.toStdString() + " of size " + c.size.toStdString());
    SetNumberedLibrary(c.lines);
    UseFixedSegments(c.size, c.number);
    PrepareSegment(false);
    EXPECT_EQ(g_SegmentCount, c.segmentCount);
    EXPECT_EQ(SegmentRawIndices(), Range(c.first, c.last));
    EXPECT_EQ(g_SegmentLineCount, std::max(c.last - c.first + 1, 0));
    EXPECT_EQ(g_LineCount, g_SegmentLineCount);
    EXPECT_EQ(g_CycleCount, g_SegmentLineCount);
    if (c.last >= c.first) {
      EXPECT_EQ(g_SegmentLines.front().text, QStringLiteral("w%1@x%1").arg(c.first));
    }
  }
}

TEST_F(SegmentsTest, TrayCaptionNamesTheSegmentOrTheWholeLibrary) {
  SetNumberedLibrary(30);
  UseFixedSegments("30", "0001");
  PrepareSegment(false);
  EXPECT_EQ(TypeCaption(), "Segment 0001/0001 done");

  SetNumberedLibrary(99);
  g_DoSegment = false;
  PrepareSegment(false);
  EXPECT_EQ(TypeCaption(), "All 0099 lines");
  EXPECT_EQ(SegmentRawIndices(), Range(1, 99));
  EXPECT_EQ(g_LineCount, 99);
}

TEST_F(SegmentsTest, GroupSegmentHoldsTheLinesAfterItsHeader) {
  UseGroups("0002");
  SetLibrary({"{AC}", "<A>", "a@1", "b@2", "<B>", "c@3"});
  PrepareSegment(false);
  ASSERT_EQ(g_SegmentLines.size(), 1u);
  EXPECT_EQ(g_SegmentLines[0].text, "c@3");
  EXPECT_EQ(g_SegmentLines[0].rawIndex, "5");
  EXPECT_EQ(g_LineCount, 1);
  EXPECT_EQ(g_SegmentLineCount, 2);  // the number of groups
  EXPECT_EQ(g_SegmentCount, "2");
  EXPECT_EQ(g_GroupName, "<B>");
  EXPECT_EQ(g_SegmentSize, "1");  // in memory only
  EXPECT_EQ(TypeCaption(), "Segment <B>/<B> done");

  g_SegmentNo = "0001";
  PrepareSegment(false);
  EXPECT_EQ(SegmentRawIndices(), Range(2, 3));
  EXPECT_EQ(TypeCaption(), "Segment <A>/<B> done");
}

TEST_F(SegmentsTest, LinesBeforeTheFirstGroupHeaderDoNotShiftTheGroups) {
  UseGroups("0001");
  SetLibrary({"{AC}", "/about this library", "<A>", "a@1", "<B>", "b@2", "*c@3"});
  PrepareSegment(false);
  EXPECT_EQ(SegmentRawIndices(), std::vector<int>{3});
  g_SegmentNo = "0002";
  PrepareSegment(false);
  EXPECT_EQ(SegmentRawIndices(), Range(5, 6));
  EXPECT_EQ(g_CycleCount, 1);  // the killed line stays in the segment, out of the cycle
}

TEST_F(SegmentsTest, LibraryWithoutGroupsInGroupModeHasOneEmptySegment) {
  UseGroups("0001");
  SetNumberedLibrary(5);
  PrepareSegment(true);
  EXPECT_EQ(g_SegmentCount, "1");
  EXPECT_TRUE(g_SegmentLines.empty());
  EXPECT_EQ(g_CycleCount, 0);
  EXPECT_EQ(g_CurrentText, "Nothing left in this segment");
  EXPECT_EQ(TypeCaption(), "Segment / done");
}

// Sizes and numbers the settings file may hold but that name no segment give an empty one.
TEST_F(SegmentsTest, UnusableSizesAndNumbersGiveAnEmptySegment) {
  struct Case {
    bool groups;
    QString size;
    QString number;
  };
  const std::vector<Case> cases = {
      {false, "0", "0001"},  {false, "", "0001"},     {false, "-30", "0001"}, {false, "abc", "0001"},
      {false, "30", "abc"},  {false, "30", ""},       {false, "30", "0000"},  {false, "30", "-2"},
      {false, "30", "99999"}, {false, "2147483647", "2147483647"},
      {true, "30", "0000"},  {true, "30", "0003"},    {true, "30", "1001"},   {true, "30", "x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE((c.groups ? "groups, size " : "fixed, size ") + c.size.toStdString() + ", number " +
                 c.number.toStdString());
    ResetTables();
    if (c.groups) {
      UseGroups(c.number);
    } else {
      UseFixedSegments(c.size, c.number);
    }
    SetLibrary({"{AC}", "<A>", "a@1", "<B>", "b@2"});
    bar_->Tim_Wait->setEnabled(true);
    PrepareSegment(false);
    EXPECT_TRUE(g_SegmentLines.empty());
    EXPECT_EQ(g_CycleCount, 0);
    EXPECT_EQ(g_CurrentText, "Nothing left in this segment");
    EXPECT_FALSE(bar_->Tim_Wait->enabled()) << "an empty cycle stops the word timer";
  }
}

TEST_F(SegmentsTest, TablesThatDisagreeWithTheLineCountAreReadOnlyAsFarAsTheyGo) {
  SetNumberedLibrary(10);
  g_LineCountCopy = 40;  // more than the raw table holds
  PrepareSegment(false);
  EXPECT_EQ(SegmentRawIndices(), Range(1, 10));

  UseGroups("0001");
  SetLibrary({"{AC}", "<A>", "a@1"});
  g_Groups[1].lineCount = 500;
  g_Groups.resize(2);
  g_GroupCount = 7;  // beyond the group table
  PrepareSegment(false);
  EXPECT_EQ(SegmentRawIndices(), std::vector<int>{2});
  EXPECT_EQ(g_SegmentCount, "7");

  g_Groups.clear();  // no library loaded yet
  PrepareSegment(false);
  EXPECT_TRUE(g_SegmentLines.empty());
}

TEST_F(SegmentsTest, EmptyLibraryGivesEmptySegmentsInEveryMode) {
  PrepareSegment(false);
  EXPECT_EQ(g_CycleCount, 0);
  EXPECT_EQ(g_CurrentText, "Nothing left in the library");
  EXPECT_EQ(TypeCaption(), "All 0000 lines");

  UseFixedSegments("30", "0001");
  PrepareSegment(false);
  EXPECT_EQ(g_SegmentCount, "0");
  EXPECT_EQ(g_CurrentText, "Nothing left in this segment");
}

// A fixed segment is read by the lines just copied, whatever count an earlier kind of segment
// left behind.
TEST_F(SegmentsTest, SwitchingToTheLastFixedSegmentReadsOnlyItsOwnLines) {
  SetNumberedLibrary(61);
  UseFixedSegments("30", "0003");
  g_LineCount = 5;  // as a group segment of five lines leaves it
  PrepareSegment(false);
  EXPECT_EQ(g_CycleCount, 1);

  g_LineCount = 40;
  PrepareSegment(false);
  EXPECT_EQ(g_CycleCount, 1);

  g_SegmentSize = "60";  // segment 3 of size 60 lies beyond the last one
  PrepareSegment(false);
  EXPECT_EQ(g_CycleCount, 0);
}

TEST_F(SegmentsTest, WordTimerSegmentBoxAndStatusFollowTheRebuild) {
  SetNumberedLibrary(5);
  g_Speed = 3000;
  g_SegmentRebuilt = true;
  bar_->Tim_Wait->setEnabled(false);
  PrepareSegment(false);
  EXPECT_EQ(bar_->Tim_Wait->interval(), 3000);
  EXPECT_FALSE(bar_->Tim_Wait->enabled());
  EXPECT_FALSE(g_SegmentRebuilt);
  EXPECT_EQ(g_CurrentText, "Ready");
  EXPECT_TRUE(bar_->Pic_SegNo->isHidden());

  PrepareSegment(true);
  EXPECT_TRUE(bar_->Tim_Wait->enabled());
  PrepareSegment(false);
  EXPECT_TRUE(bar_->Tim_Wait->enabled()) << "a rebuild without start leaves a running timer alone";

  UseFixedSegments("30", "0001");
  PrepareSegment(false);
  EXPECT_FALSE(bar_->Pic_SegNo->isHidden());

  g_SegmentNo = "0009";
  PrepareSegment(true);
  EXPECT_TRUE(bar_->Tim_Wait->enabled()) << "started even for an empty cycle";
}

TEST_F(SegmentsTest, RebuildWithoutTheBarLoadedLeavesItUnloaded) {
  SkolvaneBar::unload();
  SetNumberedLibrary(3);
  PrepareSegment(true);
  EXPECT_FALSE(SkolvaneBar::loaded());
  EXPECT_EQ(g_CycleCount, 3);

  // An empty cycle puts its status text through the word-line pass, phonetic row and all.
  g_ShowPhonetic = true;
  g_PhoneticSymbolStart = "[";
  g_PhoneticSymbolEnd = "]";
  SetLibrary({"{AC}", "*a@1"});
  PrepareSegment(true);
  EXPECT_EQ(g_CycleCount, 0);
  EXPECT_GT(g_PieceCount, 0);
  EXPECT_FALSE(SkolvaneBar::loaded());
}

TEST_F(SegmentsTest, LoadedGroupedLibraryIsCutByItsGroups) {
  const QString text = "{AC}\r\n<Unit 1>\r\napple@[ae]苹果\r\n*pear@[pe]梨\r\n<Unit 2>\r\ncat@[k]猫\r\n";
  g_LibraryPath = TempFolders::writeFile(folders_.libraryFolder() + "Fruit.abc", testing_support::LibraryBytes(text));
  g_GroupSymbolStart = "<";
  g_GroupSymbolEnd = ">";
  ASSERT_TRUE(LoadWordLibrary());

  UseGroups("0001");
  g_LearnMode = 0;
  PrepareSegment(false);
  EXPECT_EQ(SegmentRawIndices(), Range(2, 3));
  ASSERT_EQ(g_CycleCount, 1);
  EXPECT_EQ(g_CycleTable[0].text, "apple");
  EXPECT_EQ(TypeCaption(), "Segment <Unit 1>/<Unit 2> done");

  g_SegmentNo = "0002";
  PrepareSegment(false);
  ASSERT_EQ(g_CycleCount, 1);
  EXPECT_EQ(g_CycleTable[0].text, "cat");
  EXPECT_EQ(g_SegmentLines[0].rawIndex, "5");
}

}  // namespace
