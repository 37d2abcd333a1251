// The bar's hover on a real X server: the bar is this process's own, on the private Xvfb the
// end-to-end suite's main starts, and the pointer moves through the server (xdotool). The pause
// ends however the pointer left, also while a modal window kept every event from the bar.
#include "bar/SkolvaneBar.h"
#include "platform/forms/mouse_capture.h"
#include "tests/support/bar_mouse_fixture.h"
#include "tests/support/x11_tools.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTest>

namespace {

using BarMouse = testing_support::BarMouseFixture;

// The pointer onto a display box through the X server: in one jump from outside the bar, as a
// learner's quick flick does, and resting where a window over the bar goes away (a menu closing),
// which brings the bar no move at all. Either way the cycle pauses, and leaving restarts it.
TEST_F(BarMouse, APointerComingOntoABoxInOneMotionPausesTheCycleOnAnXServer) {
  using namespace std::chrono_literals;
  const QString display = qEnvironmentVariable("DISPLAY");
  const auto jumpTo = [&](QPoint point) {
    const testing_support::CommandResult moved =
        testing_support::Xdotool(display, {"mousemove", QString::number(point.x()), QString::number(point.y())});
    ASSERT_TRUE(moved.ok()) << moved.describe().toStdString();
  };
  const auto paused = [&] { return testing_support::WaitUntil([&] { return !bar().Tim_Wait->enabled(); }, 3s); };
  const auto running = [&] { return testing_support::WaitUntil([&] { return bar().Tim_Wait->enabled(); }, 3s); };
  bar().AdjustObjects();  // the phonetic and the word row, nothing else
  bar().setGeometry(200, 300, 432, 40);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar()));
  const QPoint away = bar().geometry().topLeft() - QPoint(150, 150);
  jumpTo(away);
  bar().Tim_Wait->setInterval(60'000);  // no word step in between
  bar().Tim_Wait->setEnabled(true);

  QWidget cover;
  cover.setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
  for (platform::PictureBox* box : {bar().Pic_ShowText, bar().Pic_ShowPhonetic}) {
    SCOPED_TRACE(box->objectName().toStdString());
    const QPoint onBox = box->mapToGlobal(box->rect().center());
    ASSERT_EQ(QApplication::widgetAt(onBox), box);
    jumpTo(onBox);
    EXPECT_TRUE(paused()) << "the jump went unnoticed";
    jumpTo(away);
    EXPECT_TRUE(running()) << "the cycle stays paused";

    cover.setGeometry(bar().geometry());
    cover.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&cover));
    jumpTo(onBox);
    testing_support::WaitUntil([] { return false; }, 200ms);
    ASSERT_TRUE(bar().Tim_Wait->enabled()) << "the bar saw the pointer through the window over it";
    cover.hide();
    EXPECT_TRUE(paused()) << "the uncovered pointer went unnoticed";
    jumpTo(away);
    EXPECT_TRUE(running()) << "the cycle stays paused";
  }
}

// A modal window of the program blocks the bar's window: the X server's leave and motion events
// no longer reach it. A pointer that leaves the bar then is seen only by looking at it, and the
// cycle must run again while the modal window is still open.
TEST_F(BarMouse, APointerLeavingWhileAModalWindowBlocksTheBarRestartsTheCycle) {
  using namespace std::chrono_literals;
  const QString display = qEnvironmentVariable("DISPLAY");
  const auto jumpTo = [&](QPoint point) {
    ASSERT_TRUE(testing_support::Xdotool(display, {"mousemove", QString::number(point.x()), QString::number(point.y())})
                    .ok());
  };
  bar().AdjustObjects();
  bar().setGeometry(200, 300, 432, 40);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar()));
  bar().Tim_Wait->setInterval(60'000);  // no word step in between
  bar().Tim_Wait->setEnabled(true);
  const QPoint onBox = bar().Pic_ShowText->mapToGlobal(bar().Pic_ShowText->rect().center());
  jumpTo(onBox);
  ASSERT_TRUE(testing_support::WaitUntil([&] { return !bar().Tim_Wait->enabled(); }, 3s)) << "resting did not pause";

  QDialog modal;
  modal.setWindowModality(Qt::ApplicationModal);
  modal.setGeometry(700, 500, 200, 100);  // clear of the bar and of where the pointer goes
  modal.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&modal));
  jumpTo(QPoint(100, 100));
  EXPECT_TRUE(testing_support::WaitUntil([&] { return bar().Tim_Wait->enabled(); }, 3s))
      << "the cycle stays paused while the modal window is open";
  EXPECT_TRUE(modal.isVisible());
}

}  // namespace
