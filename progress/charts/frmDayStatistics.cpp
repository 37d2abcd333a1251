#include "progress/charts/frmDayStatistics.h"

#include "progress/charts/chart_canvas.h"
#include "progress/charts/chart_colors.h"
#include "progress/charts/chart_values.h"

#include <QDate>
#include <QPalette>

#include <algorithm>

namespace {

constexpr double kSeparatorWidth = 15;  // one pixel
constexpr double kBarWidth = 150;       // a bar ends on its column's separator
constexpr double kMinBarHeight = 15;    // a day with kills always shows

ChartCanvas CanvasOf(platform::PictureBox& box) {
  return ChartCanvas(box, frmDayStatistics::kChartWidth, box.twips().height());
}

}  // namespace

frmDayStatistics::frmDayStatistics()
    : ChartFrame(QStringLiteral("frmDayStatistics"), QStringLiteral("每日进度图"), QRectF(360, 1080, 5580, 1695)) {
  Lbl_Date1 = addRowLabel(QStringLiteral("Lbl_Date1"), 120, 855, QStringLiteral("日期"));
  Lbl_Date = addRowLabel(QStringLiteral("Lbl_Date"), 1200, 1215, QString());
  Lbl_SegNo_To = addRowLabel(QStringLiteral("Lbl_SegNo_To"), 2520, 1215, QString());
  Lbl_Number1 = addRowLabel(QStringLiteral("Lbl_Number1"), 3840, 975, QStringLiteral("数量"));
  Lbl_Number = addRowLabel(QStringLiteral("Lbl_Number"), 4920, 1215, QString());
  Picture_chart->mouse().onMouseMove = [this](int button, int shift, double x, double y) {
    Picture_chart_MouseMove(button, shift, x, y);
  };
}

frmDayStatistics::~frmDayStatistics() = default;

void frmDayStatistics::Form_Load() {
  applyCaptions();
  days_ = ReadDayCounts(QDate::currentDate());
  const double largest = static_cast<double>(LargestDayCount(days_));
  ChartCanvas canvas = CanvasOf(*Picture_chart);
  const double height = canvas.height();
  const QColor separator = palette().color(QPalette::Window);
  canvas.draw([&](const ChartCanvas::BoxFiller& fillBox) {
    for (int i = 1; i <= kChartDays; ++i) {
      const double x = kColumnWidth * i;
      fillBox({x, height}, {x + kSeparatorWidth, 0}, separator);
    }
    for (int i = 1; i <= kChartDays; ++i) {
      const qint64 count = days_[static_cast<size_t>(i - 1)].count.value_or(0);
      if (count <= 0) continue;
      const double x = kColumnWidth * i;
      const double h = std::max(height * static_cast<double>(count) / largest, kMinBarHeight);
      fillBox({x + kSeparatorWidth, height}, {x + kSeparatorWidth - kBarWidth, height - h}, kChartRed);
    }
  });
}

void frmDayStatistics::Picture_chart_MouseMove(int, int, double x, double y) {
  const double chartX = CanvasOf(*Picture_chart).toChart({x, y}).x();
  const int daysBack = RoundHalfEven((kChartWidth - chartX + kColumnWidth / 2) / kColumnWidth) - 1;
  const int column = std::clamp(kChartDays - daysBack, 1, kChartDays);
  const DayCount& day = days_[static_cast<size_t>(column - 1)];
  Lbl_Date->setCaption(day.date.toString(QStringLiteral("yyyy-MM-dd")));
  Lbl_Number->setCaption(day.count ? QString::number(*day.count) : QString());
}
