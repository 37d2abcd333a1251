// The tray menu driven with the X server's keys and pointer: its window tests run again under a
// private Xvfb with Qt's X11 platform.
#include "tests/support/unit_tests_on_x.h"

#include <gtest/gtest.h>

namespace {

using namespace testing_support;

TEST(TrayMenuPointerX11, TheTypeSubmenuFollowsF10AndTheGroupSizeShowsAtOnce) {
  XvfbServer server;
  ASSERT_TRUE(server.running()) << server.error().toStdString();
  const CommandResult run = RunUnitTestsOnXServer(server, QStringLiteral("TrayMenuPointerTest.*"));
  ASSERT_TRUE(run.finished) << run.describe().toStdString() << run.output.toStdString();
  EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
  for (const char* test : {"TrayMenuPointerTest.AfterF10TheTypeSubmenuShowsTheModeAndGroupsChangesNothing",
                           "TrayMenuPointerTest.TheGroupSizeChosenFromTheMenuShowsInTheStatusRowAtOnce"}) {
    EXPECT_TRUE(run.output.contains(QStringLiteral("[       OK ] ") + QLatin1String(test))) << test;
  }
}

}  // namespace
