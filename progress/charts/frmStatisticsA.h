#pragma once
// The all-words chart: one small square per word line of the library, row after row, red for a
// word still to learn and green for a killed one. A double click closes it and sets the bar
// stepping again from the first position.
//
// Opened modally by the tray menu's State item while segment mode is off:
// frmStatisticsA::instance().showModal().

#include "platform/forms/default_instance.h"
#include "progress/charts/chart_frame.h"

class frmStatisticsA : public ChartFrame, public platform::DefaultInstance<frmStatisticsA> {
  Q_OBJECT

 public:
  frmStatisticsA();
  ~frmStatisticsA() override;

  void Form_Load() override;
  void Picture_chart_DblClick();

  // Side of one square, chart units (twips): three pixels.
  static constexpr double kCellSize = 45;
};
