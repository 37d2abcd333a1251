// The charts on a real X server, their windows this process's own on the private Xvfb the
// end-to-end suite's main starts: the segment chart's columns read from a screenshot, its double
// click and both charts' pointer readouts coming through the server.
#include "progress/charts/frmDayStatistics.h"
#include "progress/charts/frmStatisticsG.h"
#include "tests/support/chart_window_fixtures.h"
#include "tests/support/x11_tools.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cmath>
#include <vector>

namespace {

using namespace testing_support;

TEST_F(ChartWindowTest, OnAnXServerColumnsShowTheSharesAndAMouseDoubleClickJumps) {
  const QString display = qEnvironmentVariable("DISPLAY");
  QTemporaryDir shots;
  std::vector<int> heights;  // bar pixels of the three columns on the screen
  int chartHeight = 0;
  ASSERT_TRUE(ShowModalAndDrive<frmStatisticsG>([&](frmStatisticsG& chart) {
    WaitUntilShown(chart);
    WaitUntil([] { return false; }, 300ms);  // drawn
    const QString path = shots.filePath("screen.png");
    ASSERT_TRUE(Screenshot(display, path).ok());
    const QImage screen(path);
    chartHeight = chart.Picture_chart->height();
    const QPoint chartTop = chart.Picture_chart->mapToGlobal(QPoint(0, 0));
    for (int i = 1; i <= 3; ++i) {
      const int x = chart.Picture_chart->mapToGlobal(ColumnMiddle(chart, i)).x();
      heights.push_back(BarAt(screen.copy(x, chartTop.y(), 1, chartHeight), 0).total());
    }
    const QPoint target = chart.Picture_chart->mapToGlobal(ColumnMiddle(chart, 2));
    ASSERT_TRUE(Xdotool(display, {"mousemove", QString::number(target.x()), QString::number(target.y()), "click",
                                  "--repeat", "2", "--delay", "80", "1"})
                    .ok());
  }));
  EXPECT_NEAR(heights.at(0), chartHeight * 0.5, 1);
  EXPECT_NEAR(heights.at(1), chartHeight * 0.1, 1);
  EXPECT_EQ(heights.at(2), chartHeight);
  ExpectJumpedToTheSecondSegment();
}

TEST_F(ChartWindowTest, OnAnXServerTheHoveringPointerReadsTheSegmentAndItsHeight) {
  QString beforeSegment = QStringLiteral("unread");
  QString segment;
  QString height;
  int chartHeight = 0;
  const int y = 28;  // pixel row of the pointer
  ASSERT_TRUE(ShowModalAndDrive<frmStatisticsG>([&](frmStatisticsG& chart) {
    ASSERT_TRUE(WaitUntilShown(chart));
    // Off the chart first: nothing is read yet.
    ASSERT_TRUE(MovePointerTo(chart, QPoint(2, 2)));
    WaitUntil([] { return false; }, 200ms);
    beforeSegment = chart.Lbl_SegNo_To->caption();
    // No button is held: the move alone reads the chart.
    ASSERT_TRUE(MovePointerTo(*chart.Picture_chart, QPoint(ColumnMiddle(chart, 2).x(), y)));
    WaitUntil([&] { return !chart.Lbl_SegNo_To->caption().isEmpty(); }, 3s);
    segment = chart.Lbl_SegNo_To->caption();
    height = chart.Lbl_Pass->caption();
    chartHeight = chart.Picture_chart->height();
    frmStatisticsG::unload();
  }));
  EXPECT_EQ(beforeSegment, "");
  EXPECT_EQ(segment, "0002");
  // The pointer's height, not the column's killed share (10%).
  EXPECT_EQ(height, QStringLiteral(" %1%").arg(std::lround(100.0 * (chartHeight - y) / chartHeight)));
}

TEST_F(DayChartTest, OnAnXServerTheHoveringPointerReadsTodaysDateAndCount) {
  StoreCount(0, "7");
  StoreCount(1, "3");
  QString date;
  QString count;
  ASSERT_TRUE(ShowModalAndDrive<frmDayStatistics>([&](frmDayStatistics& chart) {
    ASSERT_TRUE(WaitUntilShown(chart));
    const QWidget& box = *chart.Picture_chart;
    // Today's column is the last one; the pointer comes over it with no button held.
    ASSERT_TRUE(MovePointerTo(box, QPoint(box.width() * (kChartDays - 0.5) / kChartDays, box.height() / 2)));
    WaitUntil([&] { return !chart.Lbl_Date->caption().isEmpty(); }, 3s);
    date = chart.Lbl_Date->caption();
    count = chart.Lbl_Number->caption();
    frmDayStatistics::unload();
  }));
  EXPECT_EQ(date, QDate::currentDate().toString("yyyy-MM-dd"));
  EXPECT_EQ(count, "7");
}

}  // namespace
