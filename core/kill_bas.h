#pragma once
// Killing a word: the learner marks the word on the bar as known. Its line in the raw line table
// gets a leading "*", the library file is rewritten at once, the kill is counted for today in
// section "Statistics" of the library's settings file, and the word leaves the cycle (at once
// with the rebuild, at the next rebuild without it).
//
// The line marked is always that of the word the learner sees: the cycle row whose text is
// g_CurrentText at the position the last step (or wheel turn) showed. When the bar shows no word
// (an empty cycle, the loading text, a status text, a banner), nothing is marked or counted; nor
// when the word is one already killed whose row the kept cycle still holds.

#include <QDate>
#include <QString>

#include <cstdint>
#include <optional>

// The cycle position when KillCurrentWord started; the kill returns to it.
inline std::int16_t g_KillSavedPos = 0;

// The word on the bar, traced back to its library line.
struct ShownWord {
  int cycleRow = 0;      // row of g_CycleTable
  int segmentRow = 0;    // row of g_SegmentLines it comes from
  int rawLine = 0;       // index in g_WordLines
  QString segmentText;   // the segment line's text: the mark puts it behind "*" when the raw line still holds it
};

// The word g_CurrentText shows, found among the rows the cycle position allows: the row the
// last step showed (the step has moved one on unless the hold setting is on), the row a wheel
// turn or a kill left at the position, or the last row when the position has wrapped. Nothing
// when no such row has that text or the row leads to no stored line.
std::optional<ShownWord> FindShownWord();

// The kill without rebuild (while g_SegmentRebuilt is set): marks the word, saves the library,
// steps back to the row before the kill, counts the kill and moves on within the current cycle.
// The word timer is stopped and stays off.
void KillCurrentWord();
// The same for `shown`, the word found when the kill was asked for (a banner may be on the bar
// by now).
void KillCurrentWord(const std::optional<ShownWord>& shown);

// Both kills first check that the library file is still what the program last read or wrote;
// when someone changed it, it is read again and the word marked where its text now stands, or,
// when it is gone, nothing is written and a message says so. A library another program holds open
// for writing is neither read nor written: the kill waits (the bar keeps painting) until that
// program is done, then reads the file again; while the program is still at it after a few
// seconds, or it keeps coming back each time right before the kill's save would replace the file,
// the kill is refused with a message and the file left as the other program wrote it.
//
// The kill with rebuild (while g_SegmentRebuilt is clear): marks the word, saves the library,
// rebuilds the segment and its cycle without it, counts the kill and goes on: in wait mode the
// next row is shown at once, otherwise the word timer runs again.
void KillCurrentWordAndRebuild();
void KillCurrentWordAndRebuild(const std::optional<ShownWord>& shown);

// Adds one to today's count in section "Statistics" of the library settings file. A stored value
// that is missing, empty, not a whole number, zero or negative counts as no earlier kill.
void CountKillToday();

// The key of a day in section "Statistics": "YYYYMMDD".
QString DayCountKey(const QDate& date);
