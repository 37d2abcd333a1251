#include "core/progress_texts_bas.h"

#include "core/segment_navigation_bas.h"
#include "core/segments_bas.h"
#include "tests/support/segment_fixture.h"

#include <gtest/gtest.h>

#include <QImage>

namespace {

const ProgressWords kWords{"C:", "D:", "of", "groups"};

struct ProgressCase {
  const char* name;
  ProgressInputs in;
  std::optional<QString> toolTip;  // none: no report at all
  QString status;
  int barValue;
  std::optional<QString> segmentCount;
};

ProgressInputs Range(int lines, int rows, int learnMode, int lastLine = 95) {
  ProgressInputs in;
  in.rangeLines = lines;
  in.cycleRows = rows;
  in.learnMode = learnMode;
  in.libraryLastLine = lastLine;
  in.segmentSize = "30";
  return in;
}

ProgressInputs Segment(ProgressInputs in, int lines, int rows, bool grouped = false, int groups = 0) {
  in.doSegment = true;
  in.segmentLines = lines;
  in.segmentCycleRows = rows;
  in.grouped = grouped;
  in.groupCount = groups;
  return in;
}

TEST(ProgressTexts, RangeAndSegmentProgressByLearnMode) {
  const ProgressCase cases[] = {
      {"mode 1", Range(30, 10, 1), "C:67% 20/30", "C:67% 20/30", 64, "4"},
      {"mode 0 counts half rows of L + 1", Range(30, 40, 0), "C:35% 11/31", "C:35% 11/31", 35, "4"},
      {"mode 2 doubles the lines", Range(30, 20, 2), "C:83% 51/61", "C:83% 51/61", 83, "4"},
      {"a half rounds to even", Range(8, 7, 1), "C:12% 1/8", "C:12% 1/8", 11, "4"},
      {"all learned", Range(30, 0, 1), "C:100% 30/30", "C:100% 30/30", 96, "4"},
      {"a whole multiple of the size", Range(30, 0, 1, 90), "C:100% 30/30", "C:100% 30/30", 96, "3"},
      {"empty range: nothing", Range(0, 0, 1), std::nullopt, "", 0, std::nullopt},
      {"size not a number", [] { auto in = Range(30, 10, 1); in.segmentSize = "x"; return in; }(), "C:67% 20/30",
       "C:67% 20/30", 64, std::nullopt},
      {"fixed segment", Segment(Range(30, 12, 1), 30, 12), "C:60% 18/30", "D:60% 18/30 of 4 groups", 60, "4"},
      {"fixed segment, mode 2", Segment(Range(30, 15, 2), 30, 15), "C:87% 53/61", "D:75% 22/30 of 4 groups", 75,
       "4"},
      {"empty segment keeps the range's texts", Segment(Range(30, 10, 1), 0, 0), "C:67% 20/30", "C:67% 20/30", 64, "4"},
      {"groups, mode 1: group prefix, no segment step", Segment(Range(30, 10, 1), 5, 3, true, 7), "D:67% 20/30",
       "D:67% 20/30", 64, "7"},
      {"groups, mode 0: range texts only", Segment(Range(30, 40, 0), 5, 3, true, 7), "C:35% 11/31", "C:35% 11/31",
       35, "7"},
      {"no groups in a grouped library", Segment(Range(30, 10, 1), 1, 0, true, 0), "D:67% 20/30", "D:67% 20/30",
       64, "0"},
  };
  for (const ProgressCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::optional<ProgressReport> report = ComputeProgress(c.in, kWords, "9");
    ASSERT_EQ(report.has_value(), c.toolTip.has_value());
    if (!report) continue;
    EXPECT_EQ(report->toolTip, *c.toolTip);
    EXPECT_EQ(report->status, c.status);
    EXPECT_EQ(report->barValue, c.barValue);
    EXPECT_EQ(report->segmentCount, c.segmentCount);
  }
}

TEST(ProgressTexts, FillIsRedUpToTheTargetAndGreenAbove) {
  struct FillCase {
    int value, target;
    double red, green;
  } const cases[] = {
      {64, 66, 230.4, 0},  // target not met: the value's share, red
      {70, 66, 237, 14},   // red up to the target, green for the rest, whole twips
      {66, 66, 237, 0},
      {-20, 66, 0, 0},     // more rows than lines: nothing filled
      {150, 0, 0, 360},    // never beyond the box
  };
  for (const FillCase& c : cases) {
    SCOPED_TRACE(c.value);
    const ProgressFill fill = ComputeProgressFill(360, c.value, c.target);
    EXPECT_DOUBLE_EQ(fill.redHeight, c.red);
    EXPECT_DOUBLE_EQ(fill.greenHeight, c.green);
  }
}

// The bar's percentage box and status row, as the bar's repaint and a segment move leave them.
class ProgressOnTheBar : public testing_support::SegmentFixture {
 protected:
  void SetUp() override {
    SegmentFixture::SetUp();
    testing_support::TempFolders::writeFile(folders_.programFolder() + "LANG_C.dat",
                           LanguageFile({}, "Lbl_SysInfo_C=\"All \"\r\nLbl_SysInfo_D=\"Seg \"\r\n"
                                            "Lbl_SysInfo_F=of\r\nLbl_SysInfo_G=segments\r\n"));
    g_TargetPercentage = "66";
    SkolvaneBar& bar = SkolvaneBar::instance();
    bar.Pic_percent->twips().move(0, 0, 600, 360);
    bar.Pic_percent->setBackColor(Qt::white);
    bar.Pic_percent->show();
  }
};

TEST_F(ProgressOnTheBar, RepaintAndSegmentMovesShowTheProgress) {
  SetNumberedLibrary(40);
  UseFixedSegments("30", "0001");
  PrepareSegment(false);
  g_SegmentRebuilt = false;
  SkolvaneBar& bar = SkolvaneBar::instance();

  // Twenty of thirty learned: 64 % of the box red from the bottom, the rest white.
  g_CycleCount = 10;
  g_SegmentCycleCount = 10;
  bar.Pic_percent_Paint();
  EXPECT_EQ(bar.Lbl_SysInfo->caption(), "Seg 67% 20/30 of 2 segments");
  EXPECT_EQ(bar.Pic_percent->toolTip(), "All 67% 20/30");
  const QImage& box = bar.Pic_percent->image();
  ASSERT_EQ(box.height(), 24);
  EXPECT_EQ(box.pixelColor(20, 23), QColor(255, 0, 0));
  EXPECT_EQ(box.pixelColor(20, 9), QColor(255, 0, 0));
  EXPECT_EQ(box.pixelColor(20, 7), QColor(Qt::white));

  // The move to the second segment (ten lines) brings its own counts.
  NextSegment(false);
  EXPECT_EQ(bar.Lbl_SysInfo->caption(), "Seg 0% 0/10 of 2 segments");
}

}  // namespace
