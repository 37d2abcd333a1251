#pragma once
// How the dictionary pop-up lays a meaning out: the meaning cut into rows that fit the meaning
// box, and the heights that follow from the row count and the box font's size.
//
// Characters are placed one after the other; the first that would make its row wider than the
// space of the box begins the next row (no word boundaries, no line-break characters). The rows
// end with one empty row. A meaning that needs 20 rows or more shows its first 18, a marker row
// naming the library and the empty row.

#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>

// The most rows the box shows, the empty last row included.
inline constexpr int kMaxMeaningRows = 20;

// The rows of `meaning` for a box with `spaceTwips` of room per row; textWidthTwips measures a
// text in the box's font. libraryName goes into the marker row of a cut meaning. Measures no more
// of the meaning than the shown rows take, so a meaning of a whole page costs no more than a short one.
QStringList BreakMeaningIntoRows(const QString& meaning, double spaceTwips,
                                 const std::function<double(const QString&)>& textWidthTwips,
                                 const QString& libraryName);

// A row is 1.5 times the font's point size high, in pixels.
double MeaningRowPixels(double pointSize);
// The meaning box's height for that many rows, twips.
double MeaningBoxHeightTwips(int rowCount, double pointSize);
// The top of row `row` (from 1), pixels: (row - 1) rows down, a half rounded to the even pixel.
int MeaningRowTop(int row, double pointSize);
// Twips to whole pixels, a half rounded to the even pixel (the window's height).
int TwipsToPixelsHalfEven(double twips);
