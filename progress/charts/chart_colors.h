#pragma once
// The colours of the statistics charts: red for what is still to learn, green for what lies above
// the target (segment chart) or is killed (all-words chart), black behind the current segment.

#include <QColor>

inline const QColor kChartRed{255, 0, 0};
inline const QColor kChartGreen{0, 176, 0};
inline const QColor kChartCurrentStrip{0, 0, 0};
