// The values the charts show: the columns of the segment chart over libraries cut in fixed
// segments and in word groups, and the day counts as a settings file holds them.
#include "progress/charts/chart_values.h"
#include "progress/charts/day_counts.h"

#include "core/kill_bas.h"
#include "tests/support/chart_fixture.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

using testing_support::ChartFixture;

struct ColumnCase {
  const char* name;
  std::vector<QString> lines;  // the library, header line first
  QString segmentSize;         // empty: word groups
  std::vector<std::pair<int, int>> columns;  // killed, lines
};

std::vector<QString> Marked(int count, const std::set<int>& killed) {
  std::vector<QString> lines{"{AC}"};
  for (int i = 1; i <= count; ++i) lines.push_back(QStringLiteral("%1w%2").arg(killed.count(i) ? "*" : "").arg(i));
  return lines;
}

std::set<int> Span(int first, int last) {
  std::set<int> values;
  for (int i = first; i <= last; ++i) values.insert(i);
  return values;
}

std::set<int> Joined(std::set<int> a, const std::set<int>& b) {
  a.insert(b.begin(), b.end());
  return a;
}

class ChartValuesTest : public ChartFixture {};

TEST_F(ChartValuesTest, ColumnsCountTheKilledLinesOfEachSegment) {
  const std::set<int> killed = Joined(Joined(Span(1, 15), Span(31, 60)), Span(61, 66));
  const std::vector<ColumnCase> cases = {
      {"segments of 30, the last one short", Marked(75, killed), "30", {{15, 30}, {30, 30}, {6, 15}}},
      {"segments of 60", Marked(75, killed), "60", {{45, 60}, {6, 15}}},
      {"segments of 90", Marked(75, killed), "90", {{51, 75}}},
      {"all killed", Marked(30, Span(1, 30)), "30", {{30, 30}}},
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

TEST_F(ChartValuesTest, PercentagesRoundHalvesToEvenAndNeverDivideByZero) {
  EXPECT_EQ(KilledPercent({133, 200}), 66);  // 66.5
  EXPECT_EQ(KilledPercent({135, 200}), 68);  // 67.5
  EXPECT_EQ(KilledPercent({0, 0}), 0);
  EXPECT_EQ(KilledPercent({400, 400}), 100);  // p x 100 beyond 16 bits
  EXPECT_EQ(PercentReadout(50), " 50%");
  g_TargetPercentage = "80%";
  EXPECT_EQ(TargetPercent(), 80);
  g_TargetPercentage = "high";
  EXPECT_EQ(TargetPercent(), 0);
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
