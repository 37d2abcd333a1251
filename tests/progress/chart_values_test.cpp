// The values the charts show: the columns of the segment chart over libraries cut in fixed
// segments and in word groups, and the day counts as a settings file holds them.
#include "progress/charts/chart_values.h"
#include "progress/charts/day_counts.h"

#include "core/kill_bas.h"
#include "tests/support/chart_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

namespace {

using testing_support::ChartFixture;

struct ColumnCase {
  const char* name;
  std::vector<QString> lines;  // the library, header line first
  QString segmentSize;         // empty: word groups
  std::vector<std::pair<int, int>> columns;  // killed, lines
};

// A library of `count` lines "w<i>", those from `first` to `last` of each pair killed.
std::vector<QString> Marked(int count, const std::vector<std::pair<int, int>>& killedRuns) {
  std::vector<QString> lines{"{AC}"};
  for (int i = 1; i <= count; ++i) {
    const bool killed = std::any_of(killedRuns.begin(), killedRuns.end(),
                                    [i](const auto& run) { return i >= run.first && i <= run.second; });
    lines.push_back(QStringLiteral("%1w%2").arg(killed ? "*" : "").arg(i));
  }
  return lines;
}

class ChartValuesTest : public ChartFixture {};

TEST_F(ChartValuesTest, ColumnsCountTheKilledLinesOfEachSegment) {
  const std::vector<std::pair<int, int>> killed = {{1, 15}, {31, 66}};
  const std::vector<ColumnCase> cases = {
      {"segments of 30, the last one short", Marked(75, killed), "30", {{15, 30}, {30, 30}, {6, 15}}},
      {"segments of 60", Marked(75, killed), "60", {{45, 60}, {6, 15}}},
      {"segments of 90", Marked(75, killed), "90", {{51, 75}}},
      {"all killed", Marked(30, {{1, 30}}), "30", {{30, 30}}},
      {"none killed", Marked(31, {}), "30", {{0, 30}, {0, 1}}},
      {"empty library", Marked(0, {}), "30", {}},
      {"groups after comment lines, one without lines",
       {"{AC}", "comment", "another comment", "<one>", "*a", "b", "c", "<two>", "*d", "*e", "<three>"},
       "",
       {{1, 3}, {2, 2}, {0, 0}}},
  };
  for (const ColumnCase& c : cases) {
    SCOPED_TRACE(c.name);
    ResetTables();
    if (c.segmentSize.isEmpty()) {
      UseGroups("0001");
    } else {
      UseFixedSegments(c.segmentSize, "0001");
    }
    SetLibrary(c.lines);
    PrepareSegment(false);
    std::vector<std::pair<int, int>> columns;
    for (const SegmentColumn& column : SegmentChartColumns()) columns.emplace_back(column.killed, column.lines);
    EXPECT_EQ(columns, c.columns);
  }
}

TEST(ChartHeightReadout, ReadsThePointersHeightInPercentHalvesToEven) {
  struct Case {
    double y;
    double height;
    const char* shown;
  };
  const Case cases[] = {
      {0, 1695, " 100%"},     {1695, 1695, " 0%"},  {847.5, 1695, " 50%"},
      {125, 1000, " 88%"},    // 87.5 goes up to the even 88
      {875, 1000, " 12%"},    // 12.5 goes down to the even 12
      {1050, 1000, "-5%"},    // below the bottom edge: no leading blank
      {10, 0, " 0%"},         // a box without height
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.y);
    EXPECT_EQ(PercentReadout(HeightPercent(c.y, c.height)), c.shown);
  }
}

TEST_F(ChartValuesTest, DayCountsReadTheLast31DaysAndTakeOddValuesAsZero) {
  const QDate today(2024, 3, 1);  // the days run back over February's end into January
  struct Stored {
    int daysBack;
    const char* value;
  };
  const std::vector<Stored> stored = {{0, "3"},  {1, "abc"}, {2, "-4"}, {3, "2.5"},
                                      {4, ""},   {29, "0"},  {30, "7"}, {31, "100"}};
  for (const Stored& s : stored) {
    platform::WriteProfileString(LibrarySettingsFile(), "Statistics", DayCountKey(today.addDays(-s.daysBack)), s.value);
  }
  const DayCounts days = ReadDayCounts(today);
  auto countBack = [&](int daysBack) { return days[static_cast<size_t>(kChartDays - 1 - daysBack)].count; };
  EXPECT_EQ(days.front().date, QDate(2024, 1, 31));
  EXPECT_EQ(days.back().date, today);
  EXPECT_EQ(countBack(0), 3);
  EXPECT_EQ(countBack(1), 0);
  EXPECT_EQ(countBack(2), 0);
  EXPECT_EQ(countBack(3), 0);
  EXPECT_EQ(countBack(4), std::nullopt);  // an empty value is no entry
  EXPECT_EQ(countBack(5), std::nullopt);
  EXPECT_EQ(countBack(29), 0);
  EXPECT_EQ(countBack(30), 7);
  EXPECT_EQ(LargestDayCount(days), 7);  // the 32nd day back is neither shown nor scaled by
}

}  // namespace
