#include "progress/charts/apply_chart_segment.h"

#include "bar/SkolvaneBar.h"
#include "core/bar_fitting_bas.h"
#include "core/progress_texts_bas.h"
#include "core/read_ini_bas.h"
#include "core/segment_navigation_bas.h"
#include "core/segments_bas.h"
#include "core/text_drawing_bas.h"
#include "core/vars_bas.h"
#include "platform/dialogs/dialogs.h"
#include "platform/ini/ini.h"
#include "progress/charts/chart_values.h"
#include "progress/charts/frmStatisticsA.h"
#include "progress/charts/frmStatisticsG.h"

#include <optional>

namespace {

std::optional<int> ChartSegmentNumber(const QString& segment) {
  if (!g_DoSegment) return std::nullopt;
  const std::optional<int> number = SegmentSettingNumber(segment);
  if (!number || *number < 1 || *number > SegmentColumnCount()) return std::nullopt;
  return number;
}

void StoreSegment(int number) {
  if (SkolvaneBar::loaded()) DrawUnicodeText(SegmentLabel(number));
  g_IniValue = g_SegmentNo;
  g_IniResult = platform::WriteProfileString(LibrarySettingsFile(), QStringLiteral("Normal"),
                                             QStringLiteral("WordSegmentNo"), g_IniValue);
  if (g_IniResult == 0) platform::MsgBox(QStringLiteral("Error!"));
}

}  // namespace

void ApplyChartSegment(const QString& segment) {
  const std::optional<int> number = ChartSegmentNumber(segment);
  if (number) g_SegmentNo = FormatSegmentNumber(*number);
  frmStatisticsG::unload();
  frmStatisticsA::unload();
  if (number) StoreSegment(*number);
  if (!g_SegmentRebuilt) PrepareSegment(false);
  FitBarInPlaceAndStart();
  ApplyEditionCaption();
  RefreshInfoLabels();
  g_CyclePos = 1;
}
