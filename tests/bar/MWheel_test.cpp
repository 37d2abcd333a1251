// The wheel control: each vertical wheel turn over the captured window is raised as WheelScroll
// and kept from the window; everything else reaches the window unchanged.
#include "bar/MWheel.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWheelEvent>

#include <memory>
#include <optional>
#include <vector>

namespace {

// A window that counts what reaches it.
class CountingWindow : public QWidget {
 public:
  int wheels = 0;
  int presses = 0;

 protected:
  void wheelEvent(QWheelEvent* event) override {
    ++wheels;
    event->accept();
  }
  void mousePressEvent(QMouseEvent*) override { ++presses; }
};

void Turn(QWidget& window, const QPoint& angleDelta, const QPointF& global = QPointF(40, 300)) {
  QWheelEvent wheel(QPointF(5, 5), global, QPoint(), angleDelta, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                    false);
  QCoreApplication::sendEvent(&window, &wheel);
}

struct Raised {
  std::int16_t shift, zDelta;
  float x, y;
};

class MWheelTest : public ::testing::Test {
 protected:
  MWheelTest() {
    wheel->WheelScroll = [this](std::int16_t shift, std::int16_t zDelta, float x, float y) {
      raised.push_back({shift, zDelta, x, y});
    };
  }

  std::unique_ptr<CountingWindow> window = std::make_unique<CountingWindow>();
  std::unique_ptr<MWheel> wheel = std::make_unique<MWheel>(nullptr);
  std::vector<Raised> raised;
};

TEST_F(MWheelTest, RaisesEachVerticalTurnWithItsDeltaAndKeepsItFromTheWindow) {
  wheel->setHWndCapture(window.get());
  wheel->EnableWheel();
  struct Case {
    QPoint angleDelta;
    std::optional<std::int16_t> zDelta;  // none: not raised, the window gets the turn
  };
  for (const Case& c : {Case{{0, 120}, 120}, Case{{0, -120}, -120}, Case{{0, 40}, 40}, Case{{0, 40000}, 32767},
                        Case{{120, 0}, std::nullopt}}) {
    SCOPED_TRACE(testing::Message() << c.angleDelta.x() << "," << c.angleDelta.y());
    raised.clear();
    window->wheels = 0;
    Turn(*window, c.angleDelta);
    if (c.zDelta) {
      ASSERT_EQ(raised.size(), 1U);
      EXPECT_EQ(raised[0].zDelta, *c.zDelta);
      EXPECT_EQ(raised[0].y, 300.0F);  // the pointer's screen y
      EXPECT_EQ(raised[0].shift, 0);
      EXPECT_EQ(raised[0].x, 0.0F);
      EXPECT_EQ(window->wheels, 0);
    } else {
      EXPECT_TRUE(raised.empty());
      EXPECT_EQ(window->wheels, 1);
    }
  }
}

TEST_F(MWheelTest, CapturesOnceOnlyAndOnlyWithAWindow) {
  wheel->EnableWheel();  // no window yet
  EXPECT_FALSE(wheel->enabled());

  wheel->setHWndCapture(window.get());
  wheel->EnableWheel();
  wheel->EnableWheel();
  Turn(*window, {0, -120});
  EXPECT_EQ(raised.size(), 1U);  // one capture, one event

  QMouseEvent press(QEvent::MouseButtonPress, QPointF(3, 3), QPointF(3, 3), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(window.get(), &press);
  EXPECT_EQ(window->presses, 1);  // other events pass through

  wheel->DisableWheel();
  Turn(*window, {0, -120});
  EXPECT_EQ(raised.size(), 1U);
  EXPECT_EQ(window->wheels, 1);
}

TEST_F(MWheelTest, EitherTheWindowOrTheControlMayEndFirst) {
  wheel->setHWndCapture(window.get());
  wheel->EnableWheel();
  window.reset();  // the capture ends with its window
  EXPECT_EQ(wheel->hWndCapture(), nullptr);
  wheel->DisableWheel();

  window = std::make_unique<CountingWindow>();
  wheel->setHWndCapture(window.get());
  wheel->EnableWheel();
  wheel.reset();  // the control's end removes its capture
  Turn(*window, {0, 120});
  EXPECT_EQ(window->wheels, 1);
  EXPECT_TRUE(raised.empty());
}

}  // namespace
