#pragma once
// The card game's result and the library's best score. A result is its turns and its time; the
// best score is stored as WordGameScore in section "Normal" of the library settings file: two
// digits of turns, a blank, the time as "HH:mm:ss" ("12 00:03:41"), and kept in g_GameBestScore
// and g_GameBestTime.

#include <QString>

#include <optional>

// The highest turn count the stored best score can hold (two digits).
inline constexpr int kMaxStoredTurns = 99;

// Elapsed seconds as "HH:mm:ss" (hours keep counting past 24).
QString FormatGameTime(qint64 seconds);
// "HH:mm:ss" back to seconds; nothing for a text that is not such a time.
std::optional<qint64> ParseGameTime(const QString& text);

// True when the result beats the best one: fewer turns, or as many turns in less time, compared
// as numbers. A best score that is not a number is beaten by any result; a result of more turns
// than the stored score can hold never beats one.
bool IsBetterGameResult(int turns, qint64 seconds, const QString& bestTurns, const QString& bestTime);

// Makes the result the best score: writes WordGameScore and sets g_GameBestScore and
// g_GameBestTime. Returns false when the settings file could not be written (the new best is then
// kept for this run only).
bool StoreBestGameScore(int turns, const QString& timeText);
