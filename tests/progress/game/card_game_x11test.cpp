// The card game on a real X server: the window tests of the game run again under a private Xvfb
// with Qt's X11 platform, where the cards are clicked with the mouse through the server.
#include "tests/support/unit_tests_on_x.h"

#include <gtest/gtest.h>

namespace {

using namespace testing_support;

TEST(CardGameX11, IsPlayedWithTheMouseOnAnXServer) {
  XvfbServer server;
  ASSERT_TRUE(server.running()) << server.error().toStdString();
  const CommandResult run = RunUnitTestsOnXServer(server, QStringLiteral("CardGame.*"));
  ASSERT_TRUE(run.finished) << run.describe().toStdString() << run.output.toStdString();
  EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
  EXPECT_TRUE(run.output.contains(QStringLiteral("[       OK ] CardGame.PlayedWithTheMouseOnAnXServer")))
      << run.output.toStdString();
}

}  // namespace
