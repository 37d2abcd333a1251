// The day chart: one bar per day of the last 31, scaled to the largest of them, with the date and
// count of the column under the pointer.
#include "progress/charts/frmDayStatistics.h"

#include "core/kill_bas.h"
#include "tests/support/chart_fixture.h"

#include <gtest/gtest.h>

namespace {

using namespace testing_support;

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

TEST_F(DayChartTest, BarsScaleToTheLargestOfTheShownDaysAndThePointerReadsItsDay) {
  StoreCount(0, "500");
  StoreCount(2, "250");
  StoreCount(5, "1");
  StoreCount(10, "-3");
  StoreCount(31, "1000");  // the 32nd day back: not shown, not scaled by
  chart_ = &frmDayStatistics::instance();
  const QImage& image = chart_->Picture_chart->image();
  EXPECT_EQ(BarAt(image, BarPixelX(0)).red, image.height());
  EXPECT_NEAR(BarAt(image, BarPixelX(2)).red, image.height() / 2, 1);
  EXPECT_EQ(BarAt(image, BarPixelX(5)).red, 1);  // a small count keeps one pixel
  EXPECT_EQ(BarAt(image, BarPixelX(10)).red, 0);

  chart_->Picture_chart_MouseMove(0, 0, BarPixelX(2), 10);
  EXPECT_EQ(chart_->Lbl_Date->caption(), QDate::currentDate().addDays(-2).toString("yyyy-MM-dd"));
  EXPECT_EQ(chart_->Lbl_Number->caption(), "250");
  chart_->Picture_chart_MouseMove(0, 0, BarPixelX(10), 10);
  EXPECT_EQ(chart_->Lbl_Number->caption(), "0");  // a negative count reads as none killed
  chart_->Picture_chart_MouseMove(0, 0, BarPixelX(3), 10);
  EXPECT_EQ(chart_->Lbl_Number->caption(), "");  // no entry
}

TEST_F(DayChartTest, OnAnXServerTheHoveringPointerReadsTodaysDateAndCount) {
  if (!OnXServer()) GTEST_SKIP() << "needs an X server";
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
