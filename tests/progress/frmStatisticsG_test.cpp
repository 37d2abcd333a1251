// The segment chart as the learner sees it: its columns read back from the chart's pixels and the
// pointer readouts; the jump to a segment where the text names none, or the write fails.
#include "progress/charts/frmStatisticsG.h"

#include "progress/charts/apply_chart_segment.h"
#include "tests/support/chart_fixture.h"
#include "tests/support/read_only_folder.h"

#include <gtest/gtest.h>

namespace {

using testing_support::ChartFixture;

class SegmentChartTest : public ChartFixture {
 protected:
  // Segments of 30: 15 of 30 killed, all 30 killed, 6 of a short last segment of 12 killed.
  void OpenThreeSegments(const QString& current) {
    std::set<int> killed;
    for (int i = 1; i <= 15; ++i) killed.insert(i);
    for (int i = 31; i <= 66; ++i) killed.insert(i);
    UseFixedSegments("30", current);
    SetMarkedLibrary(72, killed);
    PrepareSegment(false);
    chart_ = &frmStatisticsG::instance();
  }

  // The pixel column at the middle of chart column i (from 1) of n.
  int ColumnMiddle(int i, int n) const {
    return static_cast<int>((i - 0.5) * chart_->Picture_chart->image().width() / n);
  }

  frmStatisticsG* chart_ = nullptr;
};

TEST_F(SegmentChartTest, ColumnsAndReadoutsShowTheKilledShareOfEachSegment) {
  OpenThreeSegments("0003");
  const QImage& image = chart_->Picture_chart->image();
  const int H = image.height();
  const BarPixels first = BarAt(image, ColumnMiddle(1, 3));
  const BarPixels second = BarAt(image, ColumnMiddle(2, 3));
  const BarPixels third = BarAt(image, ColumnMiddle(3, 3));

  EXPECT_NEAR(first.red, H / 2, 1);  // 50%: below the target, all red
  EXPECT_EQ(first.green, 0);
  EXPECT_EQ(second.total(), H);  // 100%: red to the target, green above it
  EXPECT_NEAR(second.green, H * 0.34, 1);
  EXPECT_NEAR(third.total(), H / 2, 1);  // 6 of the short segment's own 12 lines
  // The current segment's strip stands behind its column; other columns have none.
  EXPECT_EQ(image.pixelColor(ColumnMiddle(3, 3), 0), kChartCurrentStrip);
  EXPECT_EQ(image.pixelColor(ColumnMiddle(1, 3), 0), chart_->Picture_chart->backColor());
  EXPECT_EQ(chart_->Lbl_SegNo_From->caption(), "0003");

  // The pointer reads the column's segment and its own height, whatever the bar under it.
  chart_->Picture_chart_MouseMove(0, 0, ColumnMiddle(2, 3), H);
  EXPECT_EQ(chart_->Lbl_SegNo_To->caption(), "0002");
  EXPECT_EQ(chart_->Lbl_Pass->caption(), " 0%");
  chart_->Picture_chart_MouseMove(0, 0, ColumnMiddle(3, 3), 0);
  EXPECT_EQ(chart_->Lbl_SegNo_To->caption(), "0003");
  EXPECT_EQ(chart_->Lbl_Pass->caption(), " 100%");
}

TEST_F(SegmentChartTest, JumpKeepsTheStoredSegmentWhenTheTextNamesNone) {
  struct Case {
    const char* name;
    QString text;
    bool segmentMode;
  };
  const std::vector<Case> cases = {
      {"no segment under the pointer yet", "", true},
      {"beyond the last segment", "0004", true},
      {"segment mode off (the all-words chart)", "0002", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OpenThreeSegments("0001");
    g_DoSegment = c.segmentMode;
    ApplyChartSegment(c.text);
    EXPECT_FALSE(frmStatisticsG::loaded());
    EXPECT_EQ(g_SegmentNo, "0001");
    EXPECT_EQ(NormalSetting("WordSegmentNo"), "Error");  // nothing written
    EXPECT_EQ(g_CyclePos, 1);
  }
}

TEST_F(SegmentChartTest, FailedWriteIsShownAndTheJumpGoesOn) {
  OpenThreeSegments("0001");
  {
    testing_support::ScopedReadOnlyFolder readOnly(folders_.libraryFolder());
    ApplyChartSegment("0002");
  }
  ASSERT_EQ(dialogs_->messages.size(), 1u);
  EXPECT_EQ(dialogs_->messages[0].text, "Error!");
  EXPECT_EQ(g_SegmentNo, "0002");
  EXPECT_EQ(SegmentRawIndices(), Range(31, 60));
}

}  // namespace
