#pragma once
// The current segment: the part of the open library being learnt now. It is the whole library
// (segment mode off), a fixed segment of g_SegmentSize lines numbered by g_SegmentNo, or, when
// both group symbols are set, the word group numbered by g_SegmentNo. PrepareSegment cuts it
// into g_SegmentLines and has the learning cycle built from it; every change of library,
// segment, segment size, segment mode or learn mode, and the kill of a word, goes through it.

#include <QString>

#include <optional>

enum class SegmentKind { WholeLibrary, Fixed, Group };

// The way the library is cut now, from g_DoSegment and the two group symbols.
SegmentKind CurrentSegmentKind();

// The number of fixed segments of `segmentSize` lines in a library of `lineCount` lines after its
// header line (the last one may be shorter); 0 when the size is not above 0.
int FixedSegmentCount(int lineCount, int segmentSize);

// A segment number or size setting ("0003", "30") as a whole number; nothing when the text is
// not one.
std::optional<int> SegmentSettingNumber(const QString& text);

// A segment number as g_SegmentNo holds it: at least four digits, "0" in front ("0009", "0100").
QString FormatSegmentNumber(qint64 number);

// The tray's segment-mode caption: the current segment of `segmentCount` segments.
QString SegmentsCaption(qint64 segmentCount);
// The tray's whole-library caption, with the library's last line number.
QString WholeLibraryCaption();

// The raw line indices a segment covers, first to last (empty when last < first).
struct RawLineRange {
  qint64 first = 1;
  qint64 last = 0;
  qint64 count() const { return last >= first ? last - first + 1 : 0; }
};

// The stored lines of segment `number` of the current way of cutting (fixed segments of
// g_SegmentSize lines, or word groups), as PrepareSegment cuts them: the last fixed segment ends
// at the last stored line, and the group ranges start where the loaded library's header lines
// put them. Empty for a number that names no segment, and in whole-library mode.
RawLineRange SegmentRawLines(int number);

// Writes `number` as decimal text into `target`. The index columns of the segment and cycle
// tables are rewritten on every rebuild; the texts of line indices are shared between them.
void AssignDecimal(QString& target, qint64 number);

// Cuts the current segment and rebuilds the cycle: fills g_SegmentLines, g_SegmentCount,
// g_SegmentLineCount, g_LineCount and (groups) g_GroupName; captions the tray item
// mnuSysTrayType; builds the cycle (RearrangeWordList); gives the bar's word timer the interval
// g_Speed and, when `startTimer` is true, starts it; shows the segment-number box exactly in
// segment mode; clears g_SegmentRebuilt. A segment number that is not a number, lies beyond the
// last segment or names no group, and a segment size that is not above 0, give an empty segment
// (and so an empty cycle). The bar's controls are touched only while the bar is loaded: its load
// handler is what opens a library, so a rebuild never creates it.
void PrepareSegment(bool startTimer);
