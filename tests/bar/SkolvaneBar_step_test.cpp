#include "bar/SkolvaneBar.h"
#include "bar/SkolvaneBar_monitors.h"
#include "bar/frmSysMenu.h"
#include "core/vars_bas.h"
#include "tests/support/bar_drawing_fixture.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class WordStep : public testing_support::BarDrawingFixture {
 protected:
  void SetUp() override {
    BarDrawingFixture::SetUp();
    g_ShowPhonetic = false;
    g_SoundMode = "0";
  }

  // A cycle of `count` rows "row1".."rowN" over the range 1..count, starting at position 1.
  static void SetCycle(int count) {
    g_CycleTable.clear();
    for (int i = 1; i <= count; ++i) g_CycleTable.push_back({QStringLiteral("row%1").arg(i), QString(), QString()});
    g_CycleCount = static_cast<std::int16_t>(count);
    g_CycleFirst = 1;
    g_CycleLast = static_cast<std::int16_t>(count);
    g_CyclePos = 1;
    g_LineCount = static_cast<std::int16_t>(count);
  }

  // Runs `steps` steps and returns what each showed, with the counter after it.
  std::vector<std::pair<QString, QString>> Steps(int steps) {
    std::vector<std::pair<QString, QString>> shown;
    for (int i = 0; i < steps; ++i) {
      bar().runtimer();
      shown.emplace_back(g_CurrentText, bar().Lbl_Counter->caption());
    }
    return shown;
  }

  // Column of the first red pixel of the progress strip, or -1.
  int MarkerColumn() {
    const QImage& strip = bar().Pic_Pos->image();
    for (int x = 0; x < strip.width(); ++x) {
      if (strip.pixelColor(x, 0) == QColor(255, 0, 0)) return x;
    }
    return -1;
  }
};

TEST_F(WordStep, StepsThroughTheRangeAndWrapsAtTheStart) {
  g_LearnMode = 1;
  SetCycle(3);
  const std::vector<std::pair<QString, QString>> expected{
      {"row1", "0001"}, {"row2", "0002"}, {"row3", "0003"}, {"row1", "0001"}, {"row2", "0002"}};
  EXPECT_EQ(Steps(5), expected);
  EXPECT_EQ(g_CyclePos, 3);
}

TEST_F(WordStep, CounterShowsWordNumbersInReciteMode) {
  g_LearnMode = 2;
  SetCycle(6);
  std::vector<QString> counters;
  for (const auto& [text, counter] : Steps(6)) counters.push_back(counter);
  EXPECT_EQ(counters, (std::vector<QString>{"0001", "0001", "0002", "0002", "0003", "0003"}));
}

TEST_F(WordStep, KillHandOverFlagsAreConsumedOnce) {
  g_LearnMode = 1;
  SetCycle(3);
  g_CycleLast = 2;  // a kill shortened the range
  g_CyclePos = 3;
  g_RangeChanged = true;
  bar().runtimer();
  EXPECT_EQ(g_CurrentText, "row3");  // one past the end is tolerated right after a kill
  EXPECT_FALSE(g_RangeChanged);

  g_CyclePos = 2;
  g_RestartCycle = true;
  bar().runtimer();
  EXPECT_EQ(g_CurrentText, "row1");
  EXPECT_FALSE(g_RestartCycle);

  // A position beyond the table never reads past it.
  g_CycleLast = 40;
  g_CyclePos = 30;
  g_RangeChanged = true;
  bar().runtimer();
  EXPECT_EQ(g_CurrentText, "");
}

TEST_F(WordStep, HoldKeepsTheRowAndTheWheelStillMoves) {
  g_LearnMode = 1;
  SetCycle(3);
  g_Wait = true;
  EXPECT_EQ(Steps(2), (std::vector<std::pair<QString, QString>>{{"row1", "0001"}, {"row1", "0001"}}));

  bar().MWheel1_WheelScroll(120);  // back at position 1: nothing
  EXPECT_EQ(g_CyclePos, 1);
  bar().MWheel1_WheelScroll(-120);
  EXPECT_EQ(g_CyclePos, 2);
  EXPECT_EQ(g_CurrentText, "row2");
  EXPECT_EQ(bar().Lbl_Counter->caption(), "0002");
  bar().MWheel1_WheelScroll(-240);  // several notches at once do nothing
  bar().MWheel1_WheelScroll(-120);
  bar().MWheel1_WheelScroll(-120);  // the last position does not wrap
  EXPECT_EQ(g_CyclePos, 3);
  bar().runtimer();
  EXPECT_EQ(g_CurrentText, "row3");
}

TEST_F(WordStep, MarkerIsPlacedBySegmentSizeOrLineCount) {
  g_LearnMode = 1;
  SetCycle(3);
  bar().Pic_Pos->twips().move(0, 0, 6000, 45);
  g_DoSegment = true;
  g_SegmentSize = "30";
  bar().runtimer();  // position 1 of 30 on a 6000-twip strip: x = 200 twips
  EXPECT_EQ(MarkerColumn(), 13);

  g_DoSegment = false;
  g_LineCount = 0;  // no divisor: the marker stays at its start
  bar().runtimer();
  EXPECT_EQ(MarkerColumn(), 1);

  g_CyclePos = 2;
  bar().paint_pos();  // the repaint places it by the cycle rows: 2 * 6000 / 3 twips
  EXPECT_NEAR(MarkerColumn(), 267, 1);
}

TEST_F(WordStep, EmptyCycleStopsTheTimerAndShowsTheLoadingText) {
  SetCycle(0);
  g_CurrentText.clear();
  bar().Tim_Wait->setEnabled(true);
  bar().runtimer();
  EXPECT_FALSE(bar().Tim_Wait->enabled());
  bar().Pic_ShowText_Paint();
  EXPECT_EQ(g_CurrentText, "词库加载中...");
  bar().MWheel1_WheelScroll(-120);
  EXPECT_EQ(g_CyclePos, 1);
}

TEST(MonitorCheck, BarLeftOfOrRightOfTheMonitorsIsOffScreen) {
  struct Case {
    std::vector<QRect> monitors;
    int windowX;
    bool offScreen;
  };
  const std::vector<Case> cases{
      {{QRect(0, 0, 1920, 1080)}, 2500, true},
      {{QRect(0, 0, 1920, 1080)}, 500, false},
      {{QRect(-1280, 0, 1280, 1024), QRect(0, 0, 1920, 1080)}, -2000, true},
      {{QRect(-1280, 0, 1280, 1024), QRect(0, 0, 1920, 1080)}, -100, false},
  };
  for (const Case& c : cases) {
    g_MonitorCount = 0;
    g_BarOffScreen = false;
    g_WindowX = c.windowX;
    std::int32_t handle = 100;
    for (const QRect& rect : c.monitors) EXPECT_TRUE(MonitorEnumProc(handle++, rect));
    EXPECT_EQ(g_BarOffScreen, c.offScreen) << c.windowX;
    EXPECT_EQ(g_MonitorCount, static_cast<int>(c.monitors.size()));
    EXPECT_EQ(g_LastMonitor, QString::number(handle - 1));  // the last one starting at 0 or more
  }
}

TEST_F(WordStep, BarOutsideTheScreenIsReported) {
  g_WindowX = 100000;
  CheckBarMonitors();
  ASSERT_EQ(dialogs().messages.size(), 1u);
  EXPECT_EQ(dialogs().messages[0].text, "out side 1 screens");
  EXPECT_TRUE(g_BarOffScreen);
}

}  // namespace
