#pragma once
// The jump from a chart to a segment: a double click on the segment chart (or the all-words
// chart) closes the chart, makes the segment the current one, stores it, rebuilds the segment and
// its cycle, fits the bar and sets it stepping again from the first position.

#include <QString>

// Runs the jump for `segment` (a segment number such as "0002"):
//  1. the number becomes g_SegmentNo, four digits;
//  2. the chart windows are unloaded;
//  3. the bar's segment box shows the segment (its number, or the group's caption);
//  4. the number is written as WordSegmentNo into section "Normal" of the library settings file
//     (staged in g_IniValue, result in g_IniResult; a failed write shows "Error!" and the jump
//     goes on);
//  5. the segment is rebuilt (PrepareSegment) unless g_SegmentRebuilt says it already was;
//  6. the bar gets the height of its rows where it stands and its word timer runs again;
//  7. the edition caption is applied, the progress texts are refreshed and the position goes
//     back to 1.
// Steps 1, 3 and 4 are skipped when segment mode is off or the text names no segment from 1 to
// g_SegmentCount: a stored segment number is never made empty or pointed nowhere.
void ApplyChartSegment(const QString& segment);
