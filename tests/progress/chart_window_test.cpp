// The segment chart opened as the tray menu opens it, modally, and driven by real mouse events:
// a double click on a column jumps the bar to that segment.
#include "progress/charts/frmStatisticsG.h"

#include "core/text_drawing_bas.h"
#include "tests/support/chart_fixture.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QTimer>

namespace {

using testing_support::ChartFixture;

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

class ChartWindowTest : public ChartFixture {
 protected:
  void SetUp() override {
    ChartFixture::SetUp();
    g_ShowSegNo = true;
    UseFixedSegments("30", "0001");
    SetMarkedLibrary(90, {31, 32, 33});
    PrepareSegment(false);
  }
};

TEST_F(ChartWindowTest, DoubleClickOnTheSecondColumnMovesTheBarThere) {
  bar_->Tim_Wait->setEnabled(false);
  g_CyclePos = 9;
  frmStatisticsG& chart = frmStatisticsG::instance();
  QTimer driver;
  QTimer fallback;  // closes a chart the double click failed to close
  QObject::connect(&driver, &QTimer::timeout, [&chart] {
    const int columnWidth = chart.Picture_chart->width() / 3;
    DoubleClick(*chart.Picture_chart, QPoint(columnWidth + columnWidth / 2, 40));
  });
  QObject::connect(&fallback, &QTimer::timeout, [] { frmStatisticsG::unload(); });
  driver.setSingleShot(true);
  fallback.setSingleShot(true);
  driver.start(0);
  fallback.start(5000);
  chart.showModal();
  ASSERT_TRUE(fallback.isActive());

  EXPECT_EQ(NormalSetting("WordSegmentNo"), "0002");
  EXPECT_EQ(g_SegmentNo, "0002");
  EXPECT_EQ(SegmentRawIndices(), Range(31, 60));
  EXPECT_TRUE(bar_->Tim_Wait->enabled());
  EXPECT_EQ(g_CyclePos, 1);

  // The bar's segment box shows "0002".
  const QImage shown = bar_->Pic_SegNo->image();
  DrawUnicodeText("0001");
  EXPECT_NE(bar_->Pic_SegNo->image(), shown);
  DrawUnicodeText("0002");
  EXPECT_EQ(bar_->Pic_SegNo->image(), shown);
}

}  // namespace
