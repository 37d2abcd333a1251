#include "progress/charts/chart_values.h"

#include "core/segments_bas.h"
#include "core/vars_bas.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

constexpr double kMinColumnWidth = 15;  // one pixel

// Index of the last stored line the raw line table really holds.
qint64 LastWordLine() { return std::min<qint64>(g_LineCountCopy, std::ssize(g_WordLines) - 1); }

SegmentColumn CountColumn(int segment) {
  const RawLineRange range = SegmentRawLines(segment);
  SegmentColumn column;
  column.lines = static_cast<int>(range.count());
  for (qint64 line = range.first; line <= range.last; ++line) {
    if (IsKilledLine(g_WordLines[static_cast<size_t>(line)])) ++column.killed;
  }
  return column;
}

}  // namespace

double SegmentColumn::killedShare() const { return lines > 0 ? static_cast<double>(killed) / lines : 0; }

bool IsKilledLine(const QString& line) { return line.startsWith(u'*'); }

int SegmentColumnCount() { return std::max(SegmentSettingNumber(g_SegmentCount).value_or(0), 0); }

std::vector<SegmentColumn> SegmentChartColumns() {
  std::vector<SegmentColumn> columns;
  const int count = SegmentColumnCount();
  columns.reserve(static_cast<size_t>(count));
  for (int segment = 1; segment <= count; ++segment) columns.push_back(CountColumn(segment));
  return columns;
}

std::vector<bool> KilledWordLines() {
  std::vector<bool> killed;
  const qint64 last = LastWordLine();
  killed.reserve(static_cast<size_t>(std::max<qint64>(last, 0)));
  for (qint64 line = 1; line <= last; ++line) killed.push_back(IsKilledLine(g_WordLines[static_cast<size_t>(line)]));
  return killed;
}

int RoundHalfEven(double value) { return static_cast<int>(std::nearbyint(value)); }

int KilledPercent(const SegmentColumn& column) { return RoundHalfEven(column.killedShare() * 100); }

int HeightPercent(double y, double height) { return height > 0 ? RoundHalfEven((1 - y / height) * 100) : 0; }

int TargetPercent() {
  const QString text = g_TargetPercentage.trimmed();
  qsizetype end = 0;
  if (end < text.size() && (text[end] == u'-' || text[end] == u'+')) ++end;
  while (end < text.size() && text[end].isDigit() && end < 9) ++end;
  return text.left(end).toInt();  // no digits: 0
}

QString PercentReadout(int percent) {
  return (percent >= 0 ? QStringLiteral(" ") : QString()) + QString::number(percent) + u'%';
}

double SegmentColumnWidth(double chartWidth, int columnCount) {
  if (columnCount < 1) return std::max(chartWidth, kMinColumnWidth);
  return std::max(chartWidth / columnCount, kMinColumnWidth);
}

int ColumnAt(double x, double columnWidth, int columnCount) {
  if (columnCount < 1 || columnWidth <= 0) return 1;
  const double column = std::floor(x / columnWidth) + 1;
  return static_cast<int>(std::clamp(column, 1.0, static_cast<double>(columnCount)));
}
