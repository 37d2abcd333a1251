// The best-score rule: turns first, then time, compared as numbers.
#include "progress/game/game_score.h"

#include <gtest/gtest.h>

namespace {

TEST(GameScore, ABetterResultHasFewerTurnsOrTheSameTurnsInLessTime) {
  struct Case {
    int turns;
    qint64 seconds;
    const char* bestTurns;
    const char* bestTime;
    bool better;
  };
  const Case cases[] = {
      {12, 221, "99", "00:59:00", true},   // the default best
      {100, 10, "99", "00:59:00", false},  // 100 turns never beat 99 (and would not fit two digits)
      {99, 3540, "99", "00:59:00", false},  // the same result is not better
      {99, 3539, "99", "00:59:00", true},
      {13, 5, "12", "00:03:41", false},
      {11, 9999, "12", "00:03:41", true},
      {12, 220, "12", "00:03:41", true},
      {12, 222, "12", "00:03:41", false},
      {9, 60, "10", "00:00:01", true},    // "09" would sort before "10" too, but 9 < 10 as numbers
      {10, 60, "9", "00:00:01", false},   // "10" sorts before "9" as text: numbers decide
      {50, 60, "ab", "00:00:01", true},   // a best score that is not a number is beaten
      {12, 999, "12", "garbage", true},
      {12, 999, "12", "00:60:00", true},  // no time of day
      {12, 3661, "12", "01:01:01", false},
      {12, 86400 + 5, "12", "23:00:00", false},  // a day and more is longer than 23 hours
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsBetterGameResult(c.turns, c.seconds, QString::fromLatin1(c.bestTurns), QString::fromLatin1(c.bestTime)),
              c.better)
        << c.turns << " turns, " << c.seconds << " s against " << c.bestTurns << " " << c.bestTime;
  }
}

}  // namespace
