// The all-words chart: one square per word line in the killed state of that line, and a double
// click that stores nothing while segment mode is off.
#include "progress/charts/frmStatisticsA.h"

#include "tests/support/chart_fixture.h"

#include <gtest/gtest.h>

#include <QFileInfo>

namespace {

using testing_support::ChartFixture;

class AllWordsChartTest : public ChartFixture {};

TEST_F(AllWordsChartTest, EachWordLineIsASquareInItsKilledState) {
  const std::set<int> killed = {1, 5, 134, 140};
  SetMarkedLibrary(140, killed);
  PrepareSegment(false);
  const frmStatisticsA& chart = frmStatisticsA::instance();
  const QImage& image = chart.Picture_chart->image();
  const int cell = 3;  // pixels
  const int perRow = image.width() / cell;
  for (int line = 1; line <= 141; ++line) {
    SCOPED_TRACE(line);
    const int mark = line - 1;
    const QColor pixel = image.pixelColor((mark % perRow) * cell + 1, (mark / perRow) * cell + 1);
    const QColor expected = line > 140 ? chart.Picture_chart->backColor() : killed.count(line) ? kChartGreen : kChartRed;
    ASSERT_EQ(pixel, expected);
  }
}

TEST_F(AllWordsChartTest, DoubleClickWithSegmentModeOffStoresNothingAndRestartsTheBar) {
  SetMarkedLibrary(40, {2});
  PrepareSegment(false);
  bar_->Tim_Wait->setEnabled(false);
  g_CyclePos = 7;
  frmStatisticsA::instance().Picture_chart_DblClick();
  EXPECT_FALSE(frmStatisticsA::loaded());
  EXPECT_FALSE(QFileInfo::exists(LibrarySettingsFile()));
  EXPECT_EQ(g_SegmentNo, "0001");
  EXPECT_TRUE(bar_->Tim_Wait->enabled());
  EXPECT_EQ(g_CyclePos, 1);
}

}  // namespace
