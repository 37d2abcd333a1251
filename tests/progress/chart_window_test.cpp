// The segment chart opened as the tray menu opens it, modally, and driven by mouse events: a double
// click on a column jumps the bar to that segment. On an X server (the end-to-end suite runs this
// file again under Xvfb) the columns are read from a screenshot and the mouse is the server's.
#include "progress/charts/frmStatisticsG.h"

#include "core/text_drawing_bas.h"
#include "tests/support/chart_fixture.h"
#include "tests/support/x11_tools.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <cmath>

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

// The middle of column i (from 1) of the three, in the chart box's pixels.
QPoint ColumnMiddle(const frmStatisticsG& chart, int i) {
  return {static_cast<int>((i - 0.5) * chart.Picture_chart->width() / 3), chart.Picture_chart->height() / 2};
}

class ChartWindowTest : public ChartFixture {
 protected:
  void SetUp() override {
    ChartFixture::SetUp();
    g_ShowSegNo = true;
    UseFixedSegments("30", "0001");
    // Killed shares of the three segments: 50%, 10% and 100%.
    std::set<int> killed{31, 32, 33};
    for (int i = 1; i <= 15; ++i) killed.insert(i);
    for (int i = 61; i <= 90; ++i) killed.insert(i);
    SetMarkedLibrary(90, killed);
    PrepareSegment(false);
    bar_->Tim_Wait->setEnabled(false);
    g_CyclePos = 9;
  }

  // The jump to segment 2: stored, rebuilt, shown on the bar, the bar stepping from the start.
  void ExpectJumpedToTheSecondSegment() {
    EXPECT_EQ(NormalSetting("WordSegmentNo"), "0002");
    EXPECT_EQ(g_SegmentNo, "0002");
    EXPECT_EQ(SegmentRawIndices(), Range(31, 60));
    EXPECT_TRUE(bar_->Tim_Wait->enabled());
    EXPECT_EQ(g_CyclePos, 1);
    const QImage shown = bar_->Pic_SegNo->image();
    DrawUnicodeText("0001");
    EXPECT_NE(bar_->Pic_SegNo->image(), shown);
    DrawUnicodeText("0002");
    EXPECT_EQ(bar_->Pic_SegNo->image(), shown);
  }
};

TEST_F(ChartWindowTest, DoubleClickOnTheSecondColumnMovesTheBarThere) {
  ASSERT_TRUE(ShowModalAndDrive<frmStatisticsG>(
      [](frmStatisticsG& chart) { DoubleClick(*chart.Picture_chart, ColumnMiddle(chart, 2)); }));
  ExpectJumpedToTheSecondSegment();
}

TEST_F(ChartWindowTest, OnAnXServerColumnsShowTheSharesAndAMouseDoubleClickJumps) {
  if (!OnXServer()) GTEST_SKIP() << "needs an X server";
  const QString display = qEnvironmentVariable("DISPLAY");
  QTemporaryDir shots;
  std::vector<int> heights;  // bar pixels of the three columns on the screen
  int chartHeight = 0;
  ASSERT_TRUE(ShowModalAndDrive<frmStatisticsG>([&](frmStatisticsG& chart) {
    WaitUntilShown(chart);
    WaitUntil([] { return false; }, 300ms);  // drawn
    const QString path = shots.filePath("screen.png");
    ASSERT_TRUE(Screenshot(display, path).ok());
    const QImage screen(path);
    chartHeight = chart.Picture_chart->height();
    const QPoint chartTop = chart.Picture_chart->mapToGlobal(QPoint(0, 0));
    for (int i = 1; i <= 3; ++i) {
      const int x = chart.Picture_chart->mapToGlobal(ColumnMiddle(chart, i)).x();
      heights.push_back(BarAt(screen.copy(x, chartTop.y(), 1, chartHeight), 0).total());
    }
    const QPoint target = chart.Picture_chart->mapToGlobal(ColumnMiddle(chart, 2));
    ASSERT_TRUE(Xdotool(display, {"mousemove", QString::number(target.x()), QString::number(target.y()), "click",
                                  "--repeat", "2", "--delay", "80", "1"})
                    .ok());
  }));
  EXPECT_NEAR(heights.at(0), chartHeight * 0.5, 1);
  EXPECT_NEAR(heights.at(1), chartHeight * 0.1, 1);
  EXPECT_EQ(heights.at(2), chartHeight);
  ExpectJumpedToTheSecondSegment();
}

TEST_F(ChartWindowTest, OnAnXServerTheHoveringPointerReadsTheSegmentAndItsHeight) {
  if (!OnXServer()) GTEST_SKIP() << "needs an X server";
  QString beforeSegment = QStringLiteral("unread");
  QString segment;
  QString height;
  int chartHeight = 0;
  const int y = 28;  // pixel row of the pointer
  ASSERT_TRUE(ShowModalAndDrive<frmStatisticsG>([&](frmStatisticsG& chart) {
    ASSERT_TRUE(WaitUntilShown(chart));
    // Off the chart first: nothing is read yet.
    ASSERT_TRUE(MovePointerTo(chart, QPoint(2, 2)));
    WaitUntil([] { return false; }, 200ms);
    beforeSegment = chart.Lbl_SegNo_To->caption();
    // No button is held: the move alone reads the chart.
    ASSERT_TRUE(MovePointerTo(*chart.Picture_chart, QPoint(ColumnMiddle(chart, 2).x(), y)));
    WaitUntil([&] { return !chart.Lbl_SegNo_To->caption().isEmpty(); }, 3s);
    segment = chart.Lbl_SegNo_To->caption();
    height = chart.Lbl_Pass->caption();
    chartHeight = chart.Picture_chart->height();
    frmStatisticsG::unload();
  }));
  EXPECT_EQ(beforeSegment, "");
  EXPECT_EQ(segment, "0002");
  // The pointer's height, not the column's killed share (10%).
  EXPECT_EQ(height, QStringLiteral(" %1%").arg(std::lround(100.0 * (chartHeight - y) / chartHeight)));
}

}  // namespace
