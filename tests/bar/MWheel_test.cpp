// The wheel control: each vertical wheel turn over the captured window is raised as WheelScroll
// and kept from the window; everything else reaches the window, and either side may end first.
#include "bar/MWheel.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QWheelEvent>

#include <memory>
#include <optional>
#include <vector>

namespace {

class CountingWindow : public QWidget {
 public:
  int wheels = 0;

 protected:
  void wheelEvent(QWheelEvent* event) override { ++wheels, event->accept(); }
};

void Turn(QWidget& window, const QPoint& angleDelta) {
  QWheelEvent wheel(QPointF(5, 5), QPointF(40, 300), QPoint(), angleDelta, Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(&window, &wheel);
}

class MWheelTest : public ::testing::Test {
 protected:
  MWheelTest() {
    wheel->WheelScroll = [this](std::int16_t shift, std::int16_t zDelta, float x, float y) {
      EXPECT_EQ(shift, 0);
      EXPECT_EQ(x, 0.0F);
      EXPECT_EQ(y, 300.0F);  // the pointer's screen y
      raised.push_back(zDelta);
    };
  }

  std::unique_ptr<CountingWindow> window = std::make_unique<CountingWindow>();
  std::unique_ptr<MWheel> wheel = std::make_unique<MWheel>(nullptr);
  std::vector<std::int16_t> raised;
};

TEST_F(MWheelTest, RaisesEachVerticalTurnWithItsDeltaAndKeepsItFromTheWindow) {
  wheel->EnableWheel();  // no window yet: nothing to capture
  EXPECT_FALSE(wheel->enabled());
  wheel->setHWndCapture(window.get());
  wheel->EnableWheel();
  wheel->EnableWheel();  // captured once only
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
    EXPECT_EQ(raised, c.zDelta ? std::vector<std::int16_t>{*c.zDelta} : std::vector<std::int16_t>{});
    EXPECT_EQ(window->wheels, c.zDelta ? 0 : 1);
  }
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
