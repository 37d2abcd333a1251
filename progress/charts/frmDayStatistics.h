#pragma once
// The day chart: how many words were killed on each of the last 31 days, today at the right, one
// red bar per day scaled to the largest of those days. The pointer shows the date of the column
// under it and that day's count.
//
// Opened modally by the tray menu's Statistics item: frmDayStatistics::instance().showModal().

#include "platform/forms/default_instance.h"
#include "progress/charts/chart_frame.h"
#include "progress/charts/day_counts.h"

class frmDayStatistics : public ChartFrame, public platform::DefaultInstance<frmDayStatistics> {
  Q_OBJECT

 public:
  frmDayStatistics();
  ~frmDayStatistics() override;

  void Form_Load() override;
  void Picture_chart_MouseMove(int button, int shift, double x, double y);

  platform::Label* Lbl_Date1;     // caption
  platform::Label* Lbl_Date;      // date under the pointer
  platform::Label* Lbl_SegNo_To;  // caption from the language file only
  platform::Label* Lbl_Number1;   // caption
  platform::Label* Lbl_Number;    // count under the pointer

  // The chart's width in its own units: 31 columns of 180.
  static constexpr double kChartWidth = 5580;
  static constexpr double kColumnWidth = 180;

 private:
  DayCounts days_;  // read at load
};
