#pragma once
// Moving through a segmented library: one segment back or on, and switching between learning the
// whole library and learning by segments. Each stores the new value in the library's settings
// file at once, rebuilds the segment and its cycle (unless the last change already did), and,
// when asked to, fits the bar to its rows and restarts the word timer.
//
// g_SegmentRebuilt (vars_bas.h) hands over between them: a change made without fit-and-start (the
// tray menu's group item) sets it, and the next change then keeps the cycle it built.
//
// The program also runs as a text-reading edition (executable name "CorvelTextReader"), which
// stores the segment number and mode under keys of its own.

#include <QString>

// True when the program runs as the text-reading edition: its executable name, without
// extension, is exactly "CorvelTextReader" (QCoreApplication::applicationName(), which is the
// executable's name unless the program names itself).
bool IsTextReaderEdition();

// The settings keys of the segment number and mode in this edition: "WordSegmentNo" and
// "WordDoSegment", or "TextSegmentNo" and "TextDoSegment" in the text-reading edition.
QString SegmentNumberKey();
QString SegmentModeKey();

// g_SegmentNo as a number; a text that is not one counts as 0.
int CurrentSegmentNumber();

// Whether there is a segment to go to: before the current one (its number is above 1), or after
// it (the number is below g_SegmentCount). Texts that are not numbers count as 0.
bool HasPrevSegment();
bool HasNextSegment();

// The label of segment `number`: the number in four digits, or, when the segments are the
// library's word groups, the caption of that group (empty for a number that names no group).
QString SegmentLabel(int number);

// One segment back (only from segment 2 on) or on (only before the last, g_SegmentCount): the new
// number is stored, the segment-number box shows it (or, for word groups, the group's caption),
// the cycle is rebuilt unless g_SegmentRebuilt is set, and with fitAndStart the bar is fitted and
// the word timer started. Always, also at the first or last segment: the edition caption, and
// the position back to 1.
void PrevSegment(bool fitAndStart);
void NextSegment(bool fitAndStart);

// Segment mode off when on, on when off: stored, rebuilt unless g_SegmentRebuilt is set, fitted
// with fitAndStart, the tray item mnuSysTrayType captioned for the new mode and its submenu's
// marks set to match, the bar laid out again. The position is kept.
void ToggleSegmentMode(bool fitAndStart);

// In the text-reading edition, while segment mode is on: the segment-number box loses its tool
// tip and the logo's tool tip names the edition and the open library. Otherwise nothing.
void ApplyEditionCaption();

// The tool-tip title of the text-reading edition.
QString TextReaderEditionTitle();
