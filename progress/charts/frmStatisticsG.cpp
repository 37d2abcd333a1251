#include "progress/charts/frmStatisticsG.h"

#include "core/segments_bas.h"
#include "core/segment_navigation_bas.h"
#include "core/vars_bas.h"
#include "progress/charts/apply_chart_segment.h"
#include "progress/charts/chart_canvas.h"
#include "progress/charts/chart_colors.h"

#include <iterator>

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
  columns_ = SegmentChartColumns();
  ChartCanvas canvas = CanvasOf(*Picture_chart);
  const double height = canvas.height();
  const double w = SegmentColumnWidth(canvas.width(), static_cast<int>(columns_.size()));
  const int target = TargetPercent();
  const double targetTop = height * (1 - target / 100.0);
  canvas.draw([&](const ChartCanvas::BoxFiller& fillBox) {
    const int current = CurrentSegmentNumber();
    if (current >= 1 && current <= std::ssize(columns_)) {
      fillBox({w * (current - 1), 0}, {w * current, height}, kChartCurrentStrip);
    }
    for (int i = 1; i <= std::ssize(columns_); ++i) {
      const SegmentColumn& column = columns_[static_cast<size_t>(i - 1)];
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
  const QPointF point = CanvasOf(*Picture_chart).toChart({x, y});
  const int count = SegmentColumnCount();
  const int column = ColumnAt(point.x(), SegmentColumnWidth(Picture_chart->twips().width(), count), count);
  Lbl_SegNo_To->setCaption(FormatSegmentNumber(column));
  const bool drawn = column >= 1 && column <= std::ssize(columns_);
  Lbl_Pass->setCaption(drawn ? PercentReadout(KilledPercent(columns_[static_cast<size_t>(column - 1)])) : QString());
}

void frmStatisticsG::Picture_chart_DblClick() { ApplyChartSegment(Lbl_SegNo_To->caption()); }
