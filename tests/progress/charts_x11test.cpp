// The charts on a real X server: their window tests run again under a private Xvfb with Qt's X11
// platform, where the columns are read from a screenshot, and the pointer's moves and the double
// click come through the server.
#include "tests/support/unit_tests_on_x.h"

#include <gtest/gtest.h>

namespace {

using namespace testing_support;

TEST(ChartsX11, ShowTheKilledSharesReadTheHoveringPointerAndJumpOnAMouseDoubleClick) {
  XvfbServer server;
  ASSERT_TRUE(server.running()) << server.error().toStdString();
  const CommandResult run =
      RunUnitTestsOnXServer(server, QStringLiteral("ChartWindowTest.*:DayChartTest.OnAnXServer*"));
  ASSERT_TRUE(run.finished) << run.describe().toStdString() << run.output.toStdString();
  EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
  for (const char* test : {"ChartWindowTest.OnAnXServerColumnsShowTheSharesAndAMouseDoubleClickJumps",
                           "ChartWindowTest.OnAnXServerTheHoveringPointerReadsTheSegmentAndItsHeight",
                           "DayChartTest.OnAnXServerTheHoveringPointerReadsTodaysDateAndCount"}) {
    EXPECT_TRUE(run.output.contains(QStringLiteral("[       OK ] ") + QLatin1String(test))) << test;
  }
}

}  // namespace
