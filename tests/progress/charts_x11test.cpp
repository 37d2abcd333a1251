// The segment chart on a real X server: its window test runs again under a private Xvfb with Qt's
// X11 platform, where the columns are read from a screenshot and the double click comes through
// the server.
#include "tests/support/unit_tests_on_x.h"

#include <gtest/gtest.h>

namespace {

using namespace testing_support;

TEST(SegmentChartX11, ShowsTheKilledSharesAndJumpsOnAMouseDoubleClick) {
  XvfbServer server;
  ASSERT_TRUE(server.running()) << server.error().toStdString();
  const CommandResult run = RunUnitTestsOnXServer(server, QStringLiteral("ChartWindowTest.*"));
  ASSERT_TRUE(run.finished) << run.describe().toStdString() << run.output.toStdString();
  EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
  EXPECT_TRUE(run.output.contains(QStringLiteral("[       OK ] ChartWindowTest.OnAnXServer")))
      << run.output.toStdString();
}

}  // namespace
