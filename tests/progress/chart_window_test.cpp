// The segment chart opened as the tray menu opens it, modally, and driven by mouse events: a double
// click on a column jumps the bar to that segment. On an X server the end-to-end suite reads the
// columns from a screenshot and clicks with the server's mouse (charts_x11test.cpp).
#include "progress/charts/frmStatisticsG.h"

#include "tests/support/chart_window_fixtures.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>

namespace {

using namespace testing_support;

void SendMouse(QWidget& widget, QEvent::Type type, QPoint at, Qt::MouseButton button) {
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
  QMouseEvent event(type, QPointF(at), QPointF(widget.mapToGlobal(at)), button, held, Qt::NoModifier);
  QCoreApplication::sendEvent(&widget, &event);
}

void DoubleClick(QWidget& widget, QPoint at) {
  SendMouse(widget, QEvent::MouseMove, at, Qt::NoButton);
  SendMouse(widget, QEvent::MouseButtonPress, at, Qt::LeftButton);
  SendMouse(widget, QEvent::MouseButtonRelease, at, Qt::LeftButton);
  SendMouse(widget, QEvent::MouseButtonDblClick, at, Qt::LeftButton);
  SendMouse(widget, QEvent::MouseButtonRelease, at, Qt::LeftButton);
}

TEST_F(ChartWindowTest, DoubleClickOnTheSecondColumnMovesTheBarThere) {
  ASSERT_TRUE(ShowModalAndDrive<frmStatisticsG>(
      [](frmStatisticsG& chart) { DoubleClick(*chart.Picture_chart, ColumnMiddle(chart, 2)); }));
  ExpectJumpedToTheSecondSegment();
}

}  // namespace
