// The day chart: one bar per day of the last 31, scaled to the largest of them, with the date and
// count of the column under the pointer (on an X server: charts_x11test.cpp).
#include "progress/charts/frmDayStatistics.h"

#include "tests/support/chart_window_fixtures.h"

#include <gtest/gtest.h>

namespace {

using namespace testing_support;

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

}  // namespace
