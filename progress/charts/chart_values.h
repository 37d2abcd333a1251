#pragma once
// What the statistics charts show, read from the shared library tables: the killed share of each
// segment or word group, the killed state of every word line, and the rules for percentages,
// column widths and readouts. A line is killed when its text begins with "*".

#include <QString>

#include <vector>

// One column of the segment chart: the segment's killed lines and all its lines.
struct SegmentColumn {
  int killed = 0;
  int lines = 0;
  // killed / lines, 0 for a segment without lines.
  double killedShare() const;
};

bool IsKilledLine(const QString& line);

// The number of columns: g_SegmentCount as a number, 0 when it is none or below 1.
int SegmentColumnCount();

// One column per segment 1 .. SegmentColumnCount(), each over the lines the segment really
// holds: a short last segment against its own lines, a word group over the lines that follow its
// header, wherever the library puts them.
std::vector<SegmentColumn> SegmentChartColumns();

// The killed state of every word line of the library, lines 1 to the last stored line (the
// header line is never a word).
std::vector<bool> KilledWordLines();

// Rounds to the nearest whole number, a half to the even neighbour (66.5 gives 66, 67.5 gives 68).
int RoundHalfEven(double value);

// The column's killed share in percent, rounded as above.
int KilledPercent(const SegmentColumn& column);

// The height of chart position y on a chart `height` units high (y downwards), in percent and
// rounded as above: 100 at the top, 0 at the bottom; 0 for a chart without height.
int HeightPercent(double y, double height);

// The numeric value of g_TargetPercentage: its leading number, 0 when it has none.
int TargetPercent();

// A percentage as the readout shows it: a blank before a number that is not negative, then "%".
QString PercentReadout(int percent);

// The segment chart's column width in chart units: the chart width shared by the columns, but
// never below 15 units (one pixel); the whole width when there are no columns.
double SegmentColumnWidth(double chartWidth, int columnCount);

// The column (from 1) under chart position x for columns of width `columnWidth`, kept within
// 1 .. columnCount.
int ColumnAt(double x, double columnWidth, int columnCount);
