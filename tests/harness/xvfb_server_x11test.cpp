#include "tests/support/x11_tools.h"
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include <signal.h>

#include <cerrno>

namespace testing_support {
namespace {

TEST(XvfbServer, RunsWithCompositorAndTrayHostAndTakesScreenshots) {
  XvfbOptions options;
  options.compositor = true;
  options.trayHost = true;
  XvfbServer server(options);
  ASSERT_TRUE(server.running()) << server.error().toStdString();
  EXPECT_TRUE(server.display().startsWith(':'));

  const CommandResult geometry = Xdotool(server.display(), {"getdisplaygeometry"});
  ASSERT_TRUE(geometry.ok()) << geometry.describe().toStdString();
  EXPECT_EQ(geometry.output.trimmed(), "1280 800");

  QTemporaryDir folder;
  const QString path = folder.filePath("screen.png");
  const CommandResult shot = Screenshot(server.display(), path);
  ASSERT_TRUE(shot.ok()) << shot.describe().toStdString();
  EXPECT_EQ(QImage(path).size(), QSize(1280, 800));
}

TEST(XvfbServer, ServersGetTheirOwnDisplaysAndEndWithTheirOwners) {
  qint64 firstProcess = 0;
  {
    XvfbServer first;
    XvfbServer second;
    ASSERT_TRUE(first.running()) << first.error().toStdString();
    ASSERT_TRUE(second.running()) << second.error().toStdString();
    EXPECT_NE(first.display(), second.display());
    EXPECT_TRUE(first.run("xdotool", {"getdisplaygeometry"}).ok());
    firstProcess = first.processId();
    ASSERT_GT(firstProcess, 0);
  }
  // Ended and reaped: the process id names no process any more.
  EXPECT_EQ(kill(static_cast<pid_t>(firstProcess), 0), -1);
  EXPECT_EQ(errno, ESRCH);
}

TEST(WaitUntil, StopsAtTheDeadlineWhenTheConditionNeverHolds) {
  int polls = 0;
  EXPECT_FALSE(WaitUntil([&] { return ++polls < 0; }, 200ms, 50ms));
  EXPECT_GE(polls, 3);
  EXPECT_LE(polls, 6);
  EXPECT_TRUE(WaitUntil([&] { return ++polls > 8; }, 1s, 10ms));
}

}  // namespace
}  // namespace testing_support
