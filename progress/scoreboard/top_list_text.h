#pragma once
// The score board's list text: one result per line, "turns time marker", where the marker is the
// player's identity up to its "@" followed by "*" ("07 00:01:32 ann@*"). Lines stand in rank
// order, fewer turns first and, among equal turns, the shorter time. These procedures drop a
// player's own old lines, insert a new result at its rank and pick the five rows the top-list
// window shows.
//
// Lines are read field by field, so a turn count of 100 or more ranks by its value, and a line
// is the player's own only when its last field is exactly the player's marker: another user
// whose name merely contains this one's is never touched.

#include <QString>

#include <array>

namespace scoreboard {

// Every LF and NUL becomes CR; all other characters stay.
QString NormalizeLineBreaks(const QString& text);

// An identity the board can use: it holds "@" and a non-empty user name before it.
bool IsUsableIdentity(const QString& identity);
// The identity up to and including its first "@", followed by "*".
QString OwnEntryMarker(const QString& identity);

// The list without the lines that end in the identity's marker. Every line end of the input
// (CR, LF or CR LF) becomes one CR LF of the output; a dropped line leaves an empty line.
QString RemoveOwnEntries(const QString& list, const QString& identity);

// The list, empty lines dropped and every line ended by CR LF, with the new entry
// "turns time marker" after every line that ranks equal or better and before the first that
// ranks worse. A line that cannot be read as "turns time" ranks by its first eleven characters.
QString InsertRankedEntry(const QString& list, const QString& turns, const QString& time,
                          const QString& identity);

// One row of the top-list window.
struct TopListRow {
  QString rank;   // "1", "2", ...; empty for an empty row
  QString score;  // "turns time " (with the blank after it)
  QString user;   // the rest of the line, beginning with the blank before it
  bool own = false;
};

// The five rows shown: the first five entries, or the first four and the player's own entry
// when it ranks below them. No entry appears twice; empty lines are no entries.
std::array<TopListRow, 5> TopListRows(const QString& list, const QString& identity);

}  // namespace scoreboard
