#include "progress/charts/frmStatisticsA.h"

#include "core/vars_bas.h"
#include "progress/charts/apply_chart_segment.h"
#include "progress/charts/chart_canvas.h"
#include "progress/charts/chart_colors.h"
#include "progress/charts/chart_values.h"

#include <algorithm>
#include <cmath>

frmStatisticsA::frmStatisticsA()
    : ChartFrame(QStringLiteral("frmStatisticsA"), QStringLiteral("统计分布图"), QRectF(120, 1080, 6015, 1695)) {
  Picture_chart->mouse().onDoubleClick = [this] { Picture_chart_DblClick(); };
}

frmStatisticsA::~frmStatisticsA() = default;

void frmStatisticsA::Form_Load() {
  applyCaptions();
  ChartCanvas canvas(*Picture_chart, Picture_chart->twips().width(), Picture_chart->twips().height());
  const std::vector<bool> killed = KilledWordLines();
  // At least one square per row, however narrow the chart.
  const qint64 perRow = std::max<qint64>(static_cast<qint64>(std::floor(canvas.width() / kCellSize)), 1);
  // Rows below the chart's bottom edge would be clipped: they are not drawn at all.
  const qint64 visibleRows = static_cast<qint64>(std::ceil(canvas.height() / kCellSize));
  const qint64 shown = std::min<qint64>(std::ssize(killed), perRow * visibleRows);
  canvas.draw([&](const ChartCanvas::BoxFiller& fillBox) {
    for (qint64 i = 0; i < shown; ++i) {
      const double x = kCellSize * static_cast<double>(i % perRow);
      const double y = kCellSize * static_cast<double>(i / perRow);
      fillBox({x, y}, {x + kCellSize, y + kCellSize}, killed[static_cast<size_t>(i)] ? kChartGreen : kChartRed);
    }
  });
}

// The chart is open while segment mode is off, so the jump keeps the segment number as it is
// (and stores nothing); it closes the chart and restarts the bar from the first position.
void frmStatisticsA::Picture_chart_DblClick() { ApplyChartSegment(g_SegmentNo); }
