// The score list's rules: ranking by turns then time, the player's own lines found by their
// last field only, line ends of any kind, and the five rows the top list shows.

#include "progress/scoreboard/top_list_text.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

using scoreboard::InsertRankedEntry;
using scoreboard::RemoveOwnEntries;
using scoreboard::TopListRows;

QString Lines(const QStringList& lines) { return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"); }

TEST(TopListText, NewEntryGoesAfterEqualAndBeforeWorseRanks) {
  const struct {
    const char* name;
    QString list;
    QString turns;
    QString time;
    QString expected;
  } cases[] = {
      {"fewer turns first", Lines({"12 00:00:10 bob@*"}), "05", "00:09:00",
       Lines({"05 00:09:00 ann@*", "12 00:00:10 bob@*"})},
      {"equal keys: after", Lines({"07 00:01:00 bob@*"}), "07", "00:01:00",
       Lines({"07 00:01:00 bob@*", "07 00:01:00 ann@*"})},
      {"shorter time first", Lines({"07 00:01:00 bob@*"}), "07", "00:00:59",
       Lines({"07 00:00:59 ann@*", "07 00:01:00 bob@*"})},
      {"100 or more turns rank by value", Lines({"99 00:00:10 bob@*", "100 00:01:00 cat@*"}), "100", "00:00:30",
       Lines({"99 00:00:10 bob@*", "100 00:00:30 ann@*", "100 00:01:00 cat@*"})},
      {"LF-only list keeps its lines", QStringLiteral("05 00:00:10 bob@*\n09 00:00:10 cat@*\n"), "07", "00:00:10",
       Lines({"05 00:00:10 bob@*", "07 00:00:10 ann@*", "09 00:00:10 cat@*"})},
      {"a last line without line end is kept", QStringLiteral("05 00:00:10 bob@*"), "07", "00:00:10",
       Lines({"05 00:00:10 bob@*", "07 00:00:10 ann@*"})},
      {"empty lines dropped", QStringLiteral("\r\n\r\n05 00:00:10 bob@*\r\n\r\n"), "01", "00:00:01",
       Lines({"01 00:00:01 ann@*", "05 00:00:10 bob@*"})},
      {"empty list", QStringLiteral("\r\n"), "07", "00:00:10", Lines({"07 00:00:10 ann@*"})},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(InsertRankedEntry(c.list, c.turns, c.time, QStringLiteral("ann@example.org")).toStdString(),
              c.expected.toStdString())
        << c.name;
  }
}

TEST(TopListText, OnlyTheLinesEndingInThePlayersMarkerAreRemoved) {
  const QString list = Lines({"05 00:00:10 ann@*", "06 00:00:10 joann@*", "07 00:00:10 ann@*x",
                              "08 00:00:10 bob@*", "09 00:00:10 ann@*"});
  const QString kept = RemoveOwnEntries(list, QStringLiteral("ann@example.org"));
  EXPECT_EQ(kept.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts),
            QStringList({"06 00:00:10 joann@*", "07 00:00:10 ann@*x", "08 00:00:10 bob@*"}));
  // LF-only line ends are line ends too.
  EXPECT_EQ(RemoveOwnEntries(QStringLiteral("05 00:00:10 ann@*\n08 00:00:10 bob@*"), QStringLiteral("ann@x"))
                .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts),
            QStringList({"08 00:00:10 bob@*"}));
}

TEST(TopListText, IdentitiesWithoutAUserNameAreRefused) {
  const struct {
    const char* identity;
    bool usable;
  } cases[] = {{"ann@example.org", true}, {"ann", false}, {"@example.org", false}, {"", false},
               {"a nn@example.org", false}, {"ann@x\r\n01 00:00:01 z@*", false}};
  for (const auto& c : cases) {
    EXPECT_EQ(scoreboard::IsUsableIdentity(QString::fromUtf8(c.identity)), c.usable) << c.identity;
  }
}

TEST(TopListText, RowsShowTheFirstFiveOrTheFirstFourAndTheOwnEntry) {
  QStringList six;
  for (int i = 1; i <= 9; ++i) six << QStringLiteral("%1 00:00:10 u%2@*").arg(i, 2, 10, QLatin1Char('0')).arg(i);
  const struct {
    const char* name;
    int own;  // rank of the player's line, 0 = none
    int lines;
    std::vector<QString> ranks;
  } cases[] = {
      {"own second of six", 2, 6, {"1", "2", "3", "4", "5"}},
      {"own ninth", 9, 9, {"1", "2", "3", "4", "9"}},
      {"no own entry in six", 0, 6, {"1", "2", "3", "4", "5"}},
      {"three lines", 0, 3, {"1", "2", "3", "", ""}},
  };
  for (const auto& c : cases) {
    QStringList lines = six.mid(0, c.lines);
    if (c.own > 0) lines[c.own - 1].replace(QStringLiteral("u%1@*").arg(c.own), QStringLiteral("ann@*"));
    const auto rows = TopListRows(Lines(lines) + QStringLiteral("\r\n"), QStringLiteral("ann@example.org"));
    for (std::size_t i = 0; i < rows.size(); ++i) {
      EXPECT_EQ(rows[i].rank, c.ranks[i]) << c.name << " row " << i;
      EXPECT_EQ(rows[i].own, c.own > 0 && rows[i].rank == QString::number(c.own)) << c.name << " row " << i;
    }
  }
  const auto rows = TopListRows(Lines({"07 00:01:32 ann@*"}), QStringLiteral("ann@x"));
  EXPECT_EQ(rows[0].score, QStringLiteral("07 00:01:32 "));
  EXPECT_EQ(rows[0].user, QStringLiteral(" ann@*"));
}

}  // namespace
