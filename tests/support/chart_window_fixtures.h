#pragma once
// Fixtures of the chart windows' tests, shared by the unit tests under the offscreen platform and
// the end-to-end tests that drive the same windows on an X server: the segment chart over three
// segments with known killed shares, and the day chart with counts stored for chosen days.

#include "core/kill_bas.h"
#include "core/text_drawing_bas.h"
#include "tests/support/chart_fixture.h"

#include <gtest/gtest.h>

#include <QDate>

#include <set>

namespace testing_support {

// The middle of column i (from 1) of the segment chart's three, in the chart box's pixels.
inline QPoint ColumnMiddle(const frmStatisticsG& chart, int i) {
  return {static_cast<int>((i - 0.5) * chart.Picture_chart->width() / 3), chart.Picture_chart->height() / 2};
}

class ChartWindowTest : public ChartFixture {
 protected:
  void SetUp() override {
    ChartFixture::SetUp();
    g_ShowSegNo = true;
    UseFixedSegments("30", "0001");
    // Killed shares of the three segments: 50%, 10% and 100%.
    std::set<int> killed{31, 32, 33};
    for (int i = 1; i <= 15; ++i) killed.insert(i);
    for (int i = 61; i <= 90; ++i) killed.insert(i);
    SetMarkedLibrary(90, killed);
    PrepareSegment(false);
    bar_->Tim_Wait->setEnabled(false);
    g_CyclePos = 9;
  }

  // The jump to segment 2: stored, rebuilt, shown on the bar, the bar stepping from the start.
  void ExpectJumpedToTheSecondSegment() {
    EXPECT_EQ(NormalSetting("WordSegmentNo"), "0002");
    EXPECT_EQ(g_SegmentNo, "0002");
    EXPECT_EQ(SegmentRawIndices(), Range(31, 60));
    EXPECT_TRUE(bar_->Tim_Wait->enabled());
    EXPECT_EQ(g_CyclePos, 1);
    const QImage shown = bar_->Pic_SegNo->image();
    DrawUnicodeText("0001");
    EXPECT_NE(bar_->Pic_SegNo->image(), shown);
    DrawUnicodeText("0002");
    EXPECT_EQ(bar_->Pic_SegNo->image(), shown);
  }
};

class DayChartTest : public ChartFixture {
 protected:
  static void StoreCount(int daysBack, const QString& value) {
    platform::WriteProfileString(LibrarySettingsFile(), "Statistics",
                                 DayCountKey(QDate::currentDate().addDays(-daysBack)), value);
  }
  // A pixel inside the bar of the column `daysBack` days before today.
  int BarPixelX(int daysBack) const {
    const double unitsPerPixel = frmDayStatistics::kChartWidth / chart_->Picture_chart->image().width();
    const double column = kChartDays - daysBack;
    return static_cast<int>((frmDayStatistics::kColumnWidth * column - 60) / unitsPerPixel);
  }
  frmDayStatistics* chart_ = nullptr;
};

}  // namespace testing_support
