#pragma once
// The segment chart: one column per segment (or word group) of a library learned in segments,
// as high as the share of its lines that are killed, red up to the target percentage and green
// above it, with a black strip behind the current segment. The pointer, hovering or dragging,
// shows the segment under it and its own height on the chart in percent; a double click jumps
// the bar to that segment.
//
// Opened modally by the tray menu's State item while segment mode is on:
// frmStatisticsG::instance().showModal().

#include "platform/forms/default_instance.h"
#include "progress/charts/chart_frame.h"

class frmStatisticsG : public ChartFrame, public platform::DefaultInstance<frmStatisticsG> {
  Q_OBJECT

 public:
  frmStatisticsG();
  ~frmStatisticsG() override;

  void Form_Load() override;
  void Picture_chart_MouseMove(int button, int shift, double x, double y);
  void Picture_chart_DblClick();

  platform::Label* Lbl_SegNo_L;     // caption
  platform::Label* Lbl_SegNo_From;  // current segment
  platform::Label* Lbl_SegNo_To;    // segment under the pointer
  platform::Label* Lbl_Pass_L;      // caption
  platform::Label* Lbl_Pass;        // the pointer's height on the chart, in percent

 private:
  void DrawChart();
};
