// The all-words chart: one square per word line, in the killed state of that line.
#include "progress/charts/frmStatisticsA.h"

#include "tests/support/chart_fixture.h"

#include <gtest/gtest.h>

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

}  // namespace
