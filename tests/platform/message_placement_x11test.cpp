// Message boxes on a real X server, with and without a window manager: the placement tests of the
// unit-test binary run under a private Xvfb with Qt's X11 platform.
#include "tests/support/unit_tests_on_x.h"

#include <gtest/gtest.h>

namespace {

using namespace testing_support;

class MessagePlacementX11 : public ::testing::TestWithParam<bool> {};

TEST_P(MessagePlacementX11, MessagesOpenCentredOverTheirWindow) {
  XvfbOptions options;
  options.windowManager = GetParam();
  XvfbServer server(options);
  ASSERT_TRUE(server.running()) << server.error().toStdString();
  const CommandResult run = RunUnitTestsOnXServer(server, QStringLiteral("MessagePlacementOnX.*:GameEndMessage.*"));
  ASSERT_TRUE(run.finished) << run.describe().toStdString() << run.output.toStdString();
  EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
  EXPECT_TRUE(run.output.contains(QStringLiteral("[  PASSED  ] 2 tests"))) << run.output.toStdString();
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutWindowManager, MessagePlacementX11, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "Openbox" : "NoWindowManager");
                         });

}  // namespace
