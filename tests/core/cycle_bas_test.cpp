#include "core/cycle_bas.h"

#include "core/segments_bas.h"
#include "core/vars_bas.h"
#include "tests/support/segment_fixture.h"

#include <gtest/gtest.h>

#include <QImage>

#include <vector>

namespace {

struct Item {
  QString text;
  QString segmentRow;
  QString atPosition;
  bool operator==(const Item&) const = default;
};

void PrintTo(const Item& item, std::ostream* out) {
  *out << '{' << item.text.toStdString() << " | " << item.segmentRow.toStdString() << " | "
       << item.atPosition.toStdString() << '}';
}

std::vector<Item> CycleItems() {
  std::vector<Item> items;
  for (int i = 0; i < g_CycleCount; ++i) {
    const CycleRow& row = g_CycleTable[static_cast<size_t>(i)];
    items.push_back({row.text, row.segmentIndex, row.atPosition});
  }
  return items;
}

class CycleTest : public testing_support::SegmentFixture {
 protected:
  // Segment rows 0 to 4: a comment, a header, a killed word, a word line and a plain line.
  static void UseMixedLibrary() { SetLibrary({"{AC}", "/note", "{x}", "*old@x", "cat@[k]猫", "hello"}); }

  static void Rebuild(int learnMode) {
    g_LearnMode = static_cast<std::int16_t>(learnMode);
    PrepareSegment(false);
  }
};

TEST_F(CycleTest, EachLearnModeMakesItsItemsFromTheShownLines) {
  UseMixedLibrary();
  Rebuild(0);
  EXPECT_EQ(CycleItems(), (std::vector<Item>{{"cat", "3", "4"}, {"hello  ", "4", ""}}));
  Rebuild(1);
  EXPECT_EQ(CycleItems(), (std::vector<Item>{{"cat  [k]猫", "3", "4"}, {"hello  ", "4", ""}}));
  Rebuild(2);
  EXPECT_EQ(CycleItems(), (std::vector<Item>{
                              {"cat  ", "3", ""}, {"> [k]猫", "3", ""}, {"hello  ", "4", ""}, {"> ", "4", ""}}));
  EXPECT_EQ(g_CycleFirst, 1);
  EXPECT_EQ(g_CycleLast, 4);
  EXPECT_EQ(g_CycleTable.size(), 4u);

  Rebuild(3);
  EXPECT_EQ(g_CycleCount, 0);
  EXPECT_EQ(g_CurrentText, "Nothing left in the library");
}

TEST_F(CycleTest, WordLineSplitsAtTheFirstAtSign) {
  SetLibrary({"{AC}", "e@mail@[i]邮件", "@[x]only meaning"});
  Rebuild(1);
  EXPECT_EQ(CycleItems(), (std::vector<Item>{{"e  mail@[i]邮件", "0", "2"}, {"  [x]only meaning", "1", "1"}}));
}

TEST_F(CycleTest, AllLinesKilledGivesAnEmptyCycleThatStopsTheTimer) {
  SetLibrary({"{AC}", "*a@1", "*b@2"});
  bar_->Tim_Wait->setEnabled(true);
  g_CyclePos = 2;
  Rebuild(1);
  EXPECT_EQ(g_CycleCount, 0);
  EXPECT_EQ(g_CycleLast, 0);
  EXPECT_EQ(g_CyclePos, 0);
  EXPECT_FALSE(bar_->Tim_Wait->enabled());
  EXPECT_EQ(g_CurrentText, "Nothing left in the library");

  UseFixedSegments("30", "0001");
  Rebuild(1);
  EXPECT_EQ(g_CurrentText, "Nothing left in this segment");
  EXPECT_EQ(g_SegmentCycleCount, 0);
}

TEST_F(CycleTest, EmptyCycleStatusIsDrawnOnTheBar) {
  SetLibrary({"{AC}", "*a@1"});
  g_BarShown = true;
  bar_->Pic_ShowText->cls();
  const QImage blank = bar_->Pic_ShowText->image();
  Rebuild(1);
  g_BarShown = false;
  EXPECT_NE(bar_->Pic_ShowText->image(), blank);
}

TEST_F(CycleTest, RebuildContinuesNearThePosition) {
  SetNumberedLibrary(10);
  struct Case {
    bool hold;
    int lines;
    int before;
    int after;
  };
  const std::vector<Case> cases = {
      {false, 10, 5, 3}, {false, 10, 2, 1}, {false, 10, 1, 1}, {false, 10, -1, 1}, {false, 3, 9, 3},
      {true, 10, 5, 5},  {true, 4, 5, 5},   {true, 3, 5, 3},   {true, 10, -1, 1},  {true, 0, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.before) + (c.hold ? " held" : "") + " in " + std::to_string(c.lines));
    SetNumberedLibrary(c.lines);
    g_Wait = c.hold;
    g_CyclePos = static_cast<std::int16_t>(c.before);
    Rebuild(1);
    EXPECT_EQ(g_CyclePos, c.after);
  }
}

TEST_F(CycleTest, SegmentCycleCountIsKeptOnlyInSegmentMode) {
  SetNumberedLibrary(40);
  g_SegmentCycleCount = 7;
  Rebuild(2);
  EXPECT_EQ(g_CycleCount, 80);
  EXPECT_EQ(g_SegmentCycleCount, 7);
  UseFixedSegments("30", "0002");
  Rebuild(2);
  EXPECT_EQ(g_CycleCount, 20);
  EXPECT_EQ(g_SegmentCycleCount, 20);
}

TEST_F(CycleTest, CycleLongerThanPositionsReachIsCutAtAWholeLineAndToldOnce) {
  SetNumberedLibrary(20000);
  Rebuild(2);
  EXPECT_EQ(g_CycleCount, 32766);  // 16,383 words of two items each
  EXPECT_EQ(g_CycleTable.back().text, "> x16383");
  ASSERT_EQ(dialogs_->messages.size(), 1u);
  EXPECT_EQ(dialogs_->messages[0].text, CycleTooLongMessage("w16384"));

  Rebuild(2);  // a kill or a learn-mode key rebuilds the same cycle
  EXPECT_EQ(dialogs_->messages.size(), 1u);

  Rebuild(1);
  EXPECT_EQ(g_CycleCount, 20000);
  Rebuild(2);
  EXPECT_EQ(dialogs_->messages.size(), 2u);
}

TEST_F(CycleTest, ShowCurrentItemTakesTheRowOfThePosition) {
  UseMixedLibrary();
  Rebuild(0);
  g_CyclePos = 2;
  ShowCurrentItem();
  EXPECT_EQ(g_CurrentText, "hello  ");

  g_CurrentText = "status";
  for (const std::int16_t position : {std::int16_t{-4}, std::int16_t{0}, std::int16_t{3}}) {
    g_CyclePos = position;
    ShowCurrentItem();
    EXPECT_EQ(g_CurrentText, "status") << position;
  }
  g_CyclePos = -4;
  ShowCurrentItem();
  EXPECT_EQ(g_CyclePos, 0);
}

TEST_F(CycleTest, AdvanceMovesOnAndShowsWhenTheRangeStartsAgain) {
  SetNumberedLibrary(12);
  g_LearnMode = 0;
  PrepareSegment(false);
  g_CycleFirst = 1;
  g_CycleLast = 10;
  struct Case {
    bool rebuilt;
    int before;
    int after;
    bool shows;
  };
  const std::vector<Case> cases = {
      {false, 4, 5, false}, {false, 10, 1, false}, {false, 11, 2, true}, {false, 1, 2, true},
      {false, 0, 2, false}, {true, 1, 2, true},     {true, 5, 5, false},  {true, 11, 11, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.before) + (c.rebuilt ? " rebuilt" : ""));
    g_SegmentRebuilt = c.rebuilt;
    g_CyclePos = static_cast<std::int16_t>(c.before);
    g_CurrentText = "before";
    AdvanceCyclePosition();
    EXPECT_EQ(g_CyclePos, c.after);
    EXPECT_EQ(g_CurrentText, c.shows ? QString("w1") : QString("before"));
  }
}

}  // namespace
