#include "progress/charts/frmStatisticsG.h"

#include "core/segments_bas.h"
#include "core/segment_navigation_bas.h"
#include "core/vars_bas.h"
#include "progress/charts/apply_chart_segment.h"
#include "progress/charts/chart_canvas.h"
#include "progress/charts/chart_colors.h"
#include "progress/charts/chart_values.h"

#include <iterator>
#include <vector>

namespace {

ChartCanvas CanvasOf(platform::PictureBox& box) { return ChartCanvas(box, box.twips().width(), box.twips().height()); }

}  // namespace

frmStatisticsG::frmStatisticsG()
    : ChartFrame(QStringLiteral("frmStatisticsG"), QStringLiteral("统计分布图"), QRectF(120, 1080, 6015, 1695)) {
  Lbl_SegNo_L = addRowLabel(QStringLiteral("Lbl_SegNo_L"), 120, 855, QStringLiteral("组号"));
  Lbl_SegNo_From = addRowLabel(QStringLiteral("Lbl_SegNo_From"), 1200, 1215, QString());
  Lbl_SegNo_To = addRowLabel(QStringLiteral("Lbl_SegNo_To"), 2520, 1215, QString());
  Lbl_Pass_L = addRowLabel(QStringLiteral("Lbl_Pass_L"), 3840, 975, QStringLiteral("满意率"));
  Lbl_Pass = addRowLabel(QStringLiteral("Lbl_Pass"), 4920, 1215, QString());

  // The segment under a click is the one the following double click jumps to, even when the
  // pointer has not moved over the chart before.
  Picture_chart->mouse().onMouseDown = [this](int button, int shift, double x, double y) {
    Picture_chart_MouseMove(button, shift, x, y);
  };
  Picture_chart->mouse().onMouseMove = [this](int button, int shift, double x, double y) {
    Picture_chart_MouseMove(button, shift, x, y);
  };
  Picture_chart->mouse().onDoubleClick = [this] { Picture_chart_DblClick(); };
}

frmStatisticsG::~frmStatisticsG() = default;

void frmStatisticsG::Form_Load() {
  applyCaptions();
  if (g_DoSegment) DrawChart();
  Lbl_SegNo_From->setCaption(FormatSegmentNumber(CurrentSegmentNumber()));
}

void frmStatisticsG::DrawChart() {
  const std::vector<SegmentColumn> columns = SegmentChartColumns();
  ChartCanvas canvas = CanvasOf(*Picture_chart);
  const double height = canvas.height();
  const double w = SegmentColumnWidth(canvas.width(), static_cast<int>(columns.size()));
  const int target = TargetPercent();
  const double targetTop = height * (1 - target / 100.0);
  canvas.draw([&](const ChartCanvas::BoxFiller& fillBox) {
    const int current = CurrentSegmentNumber();
    if (current >= 1 && current <= std::ssize(columns)) {
      fillBox({w * (current - 1), 0}, {w * current, height}, kChartCurrentStrip);
    }
    for (int i = 1; i <= std::ssize(columns); ++i) {
      const SegmentColumn& column = columns[static_cast<size_t>(i - 1)];
      if (column.killed == 0) continue;  // a bar of no height
      const double x0 = w * (i - 1);
      const double x1 = w * i;
      const double top = height * (1 - column.killedShare());
      fillBox({x0, height}, {x1, top}, kChartRed);
      // The part above the target level, when the rounded share is above the target.
      if (KilledPercent(column) > target) fillBox({x0, targetTop}, {x1, top}, kChartGreen);
    }
  });
}

void frmStatisticsG::Picture_chart_MouseMove(int, int, double x, double y) {
  if (!g_DoSegment) return;
  const ChartCanvas canvas = CanvasOf(*Picture_chart);
  const QPointF point = canvas.toChart({x, y});
  const int count = SegmentColumnCount();
  const int column = ColumnAt(point.x(), SegmentColumnWidth(canvas.width(), count), count);
  Lbl_SegNo_To->setCaption(FormatSegmentNumber(column));
  // The pointer's height on the chart, so the learner can measure a bar against the scale.
  Lbl_Pass->setCaption(PercentReadout(HeightPercent(point.y(), canvas.height())));
}

void frmStatisticsG::Picture_chart_DblClick() { ApplyChartSegment(Lbl_SegNo_To->caption()); }
