#include "core/row_heights_bas.h"

#include "core/vars_bas.h"

#include <algorithm>

// Multiplying by 6 and dividing by 5 (or 500 with the percentage) keeps whole twips exact, where
// a factor of 1.2 or 0.012 would not.
double TextRowTwips(double points) { return points * kTwipsPerPoint * 6 / 5; }

int MeaningRowCount() { return std::max<int>(g_MeaningRows, 1); }

double MeaningBoxTwips(double wordPoints) {
  return static_cast<double>(g_MeaningBarPercent) * 6 * MeaningRowCount() * (wordPoints * kTwipsPerPoint) / 500;
}
