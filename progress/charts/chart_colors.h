#pragma once
// The colours of the statistics charts: red for what is still to learn, green for what lies above
// the target (segment chart) or is killed (all-words chart), black behind the current segment.

#include <QColor>

inline const QColor kChartRed{255, 0, 0};
inline const QColor kChartGreen{0, 160, 0};  // the green of the bar's progress box
inline const QColor kChartCurrentStrip{0, 0, 0};
