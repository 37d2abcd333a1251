#pragma once
// Font and row heights of the bar's text boxes, in twips. The settings load and the bar's layout
// and font choice size the word and meaning boxes by these rules, and the fitting and the meaning
// drawing count the rows the same way, so the heights they give always agree.

// A point is 20 twips.
inline constexpr double kTwipsPerPoint = 20;

// Height of a text row in a font of `points`: 1.2 times the font size.
double TextRowTwips(double points);

// The number of meaning rows the bar lays out, fits and draws: g_MeaningRows, but at least one.
// A settings file edited by hand may hold 0 or less, which would give the meaning box no height,
// or a negative one that pulls the status row up over the word row.
int MeaningRowCount();

// Height of the meaning box under a word font of `wordPoints`: MeaningRowCount() rows, each
// g_MeaningBarPercent percent of a word row.
double MeaningBoxTwips(double wordPoints);
