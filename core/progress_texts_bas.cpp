#include "core/progress_texts_bas.h"

#include "bar/SkolvaneBar.h"
#include "core/language_bas.h"
#include "core/segments_bas.h"
#include "core/vars_bas.h"
#include "platform/forms/twips.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// Halfway values go to the even neighbour, as the bar has always rounded its percentages.
long long RoundHalfEven(double value) { return std::llrint(value); }
long long Floor(double value) { return static_cast<long long>(std::floor(value)); }

// "67% 20/30": a percentage, then done of total.
QString Counts(long long percent, long long done, long long total) {
  return QStringLiteral("%1% %2/%3").arg(percent).arg(done).arg(total);
}

std::optional<QString> SegmentCount(const ProgressInputs& in) {
  std::optional<QString> count;
  const int size = SegmentSettingNumber(in.segmentSize).value_or(0);
  if (size > 0) count = QString::number(FixedSegmentCount(in.libraryLastLine, size));
  if (in.doSegment && in.grouped) count = QString::number(in.groupCount);
  return count;
}

// The range progress. Returns whether the segment progress is still to follow.
bool RangeProgress(const ProgressInputs& in, const ProgressWords& words, ProgressReport& report) {
  const long long lines = in.rangeLines;
  const long long rows = in.cycleRows;
  if (in.learnMode == 1) {
    const long long done = lines - rows;
    const QString counts = Counts(RoundHalfEven(static_cast<double>(done) / lines * 100), done, lines);
    report.barValue = static_cast<int>(Floor(static_cast<double>(done) / (lines + 1) * 100));
    // With one segment per group the group's own progress takes the same numbers.
    const bool groupTexts = in.doSegment && in.grouped;
    report.toolTip = report.status = (groupTexts ? words.segment : words.range) + counts;
    return !groupTexts;
  }
  // Learn mode 2 shows every word twice, so the rows count half and the total is doubled.
  // (Counted in 64 bits: twice a 16-bit line count is no overflow here.)
  const long long total = in.learnMode == 2 ? 2 * lines + 1 : lines + 1;
  const double remaining = static_cast<double>(total) - static_cast<double>(rows) / 2;
  const long long done = Floor(remaining);
  report.toolTip = report.status =
      words.range + Counts(Floor(remaining / static_cast<double>(total) * 100), done, total);
  report.barValue = static_cast<int>(Floor(static_cast<double>(done) / static_cast<double>(total) * 100));
  return true;
}

// The segment progress, in segment mode: the status label names the segment's progress and the
// number of segments. An empty segment has no progress to show; the range's texts stay.
void SegmentProgress(const ProgressInputs& in, const ProgressWords& words, const QString& count,
                     ProgressReport& report) {
  if (!in.doSegment || in.segmentLines == 0) return;
  const double lines = in.segmentLines;
  const QString tail = QStringLiteral(" ") + words.before + QStringLiteral(" ") + count + QStringLiteral(" ") + words.after;
  if (in.learnMode == 2) {
    const double remaining = lines - static_cast<double>(in.segmentCycleRows) / 2;
    const long long percent = RoundHalfEven(remaining / lines * 100);
    report.status = words.segment + Counts(percent, Floor(remaining), in.segmentLines) + tail;
    report.barValue = static_cast<int>(percent);
  } else if (!in.grouped) {
    const long long done = static_cast<long long>(in.segmentLines) - in.segmentCycleRows;
    const long long percent = RoundHalfEven(static_cast<double>(done) / lines * 100);
    report.status = words.segment + Counts(percent, done, in.segmentLines) + tail;
    report.barValue = static_cast<int>(percent);
  }
}

ProgressInputs CurrentInputs() {
  ProgressInputs in;
  in.rangeLines = g_LineCount;
  in.libraryLastLine = g_LineCountCopy;
  in.cycleRows = g_CycleCount;
  in.segmentLines = g_SegmentLineCount;
  in.segmentCycleRows = g_SegmentCycleCount;
  in.segmentSize = g_SegmentSize;
  in.groupCount = g_GroupCount;
  in.doSegment = g_DoSegment;
  in.grouped = !g_GroupSymbolStart.isEmpty() && !g_GroupSymbolEnd.isEmpty();
  in.learnMode = g_LearnMode;
  return in;
}

ProgressWords CurrentWords() {
  const QString bar = QStringLiteral("SkolvaneBar");
  return {GetUIText(bar, QStringLiteral("Lbl_SysInfo_C")), GetUIText(bar, QStringLiteral("Lbl_SysInfo_D")),
          GetUIText(bar, QStringLiteral("Lbl_SysInfo_F")), GetUIText(bar, QStringLiteral("Lbl_SysInfo_G"))};
}

// Clears the percentage box and fills it from the bottom: red, then green above the target.
void DrawProgressFill(platform::PictureBox& box, int barValue) {
  const double height = box.twips().height();
  const ProgressFill fill = ComputeProgressFill(height, barValue, g_TargetPercentage.trimmed().toInt());
  box.cls();
  const double scale = 1.0 / platform::kTwipsPerPixel;
  const double width = box.width();
  const double bottom = height * scale;
  const double red = fill.redHeight * scale;
  const double green = fill.greenHeight * scale;
  box.draw([&](QPainter& painter) {
    if (red > 0) painter.fillRect(QRectF(0, bottom - red, width, red), QColor(255, 0, 0));
    if (green > 0) painter.fillRect(QRectF(0, bottom - red - green, width, green), QColor(0, 160, 0));
  });
}

}  // namespace

std::optional<ProgressReport> ComputeProgress(const ProgressInputs& inputs, const ProgressWords& words,
                                              const QString& segmentCountText) {
  if (inputs.rangeLines < 1) return std::nullopt;
  ProgressReport report;
  report.segmentCount = SegmentCount(inputs);
  if (RangeProgress(inputs, words, report)) {
    SegmentProgress(inputs, words, report.segmentCount.value_or(segmentCountText), report);
  }
  return report;
}

ProgressFill ComputeProgressFill(double boxHeight, int barValue, int targetPercent) {
  // Never more than the box: a value above 100 would paint over the rows above it.
  const auto within = [&](double h) { return std::clamp(h, 0.0, boxHeight); };
  if (targetPercent > barValue) return {within(boxHeight * barValue / 100), 0};
  const double red = within(std::floor(boxHeight * targetPercent / 100));
  const double green = within(std::floor(boxHeight * (barValue - targetPercent) / 100));
  return {red, std::min(green, boxHeight - red)};
}

void RefreshInfoLabels() {
  const std::optional<ProgressReport> report = ComputeProgress(CurrentInputs(), CurrentWords(), g_SegmentCount);
  if (!report) return;
  if (report->segmentCount) g_SegmentCount = *report->segmentCount;
  if (!SkolvaneBar::loaded()) return;
  SkolvaneBar& bar = SkolvaneBar::instance();
  bar.Pic_percent->setToolTip(report->toolTip);
  bar.Lbl_SysInfo->setCaption(report->status);
  DrawProgressFill(*bar.Pic_percent, report->barValue);
  bar.Pic_SegNo_Paint();
}
