#pragma once
// The learning cycle: the items of the current segment that the bar shows one after the other,
// endlessly, in file order. RearrangeWordList builds g_CycleTable from the segment line table by
// learn mode; ShowCurrentItem and AdvanceCyclePosition serve the kill that keeps the cycle.
//
// Items a shown line t makes, a = position of the first "@" in t:
//   mode 0: the word before the "@" (t and two blanks without "@");
//   mode 1: the word, two blanks and the rest after the "@" (t and two blanks without "@");
//   mode 2: two items, the word and two blanks, then "> " and the rest after the "@".
// Killed ("*"), comment ("/") and header ("{") lines make none.

#include "core/vars_bas.h"

#include <QString>

#include <cstdint>

// Positions are 16-bit, so a cycle holds at most this many items.
inline constexpr int kMaxCycleItems = INT16_MAX;

// Set while the current cycle is cut short, so the learner is told once, not on every rebuild.
inline bool g_CycleIsCut = false;

// Rebuilds g_CycleTable (exactly g_CycleCount rows) and the cycle state from the segment line
// table: range 1..g_CycleCount, the position moved back two items (hold off) or kept (hold on)
// and clamped to the new cycle. An empty cycle stops the word timer and puts the status text on
// the bar. A segment that makes more than kMaxCycleItems items is cut after the last whole line
// that fits, and the learner is told once, when the cut first happens.
void RearrangeWordList();

// The cycle row at a table index (position - 1); null outside the table, e.g. the row after the
// last one, which some steps look at.
const CycleRow* CycleRowAt(int row);
// Its shown text, empty outside the table.
QString CycleRowText(int row);

// Makes the item at g_CyclePos the current text. A negative position becomes 0; a position with
// no item (an empty cycle) leaves the current text as it is.
void ShowCurrentItem();

// Moves g_CyclePos on after a kill that kept the cycle, showing the item when the position starts
// the range or has run past its end.
void AdvanceCyclePosition();

// The message shown when a segment makes more items than the cycle holds; `firstWordLeftOut` is
// the word of the first line left out.
QString CycleTooLongMessage(const QString& firstWordLeftOut);
