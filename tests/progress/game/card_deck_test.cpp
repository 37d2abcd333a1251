// The card deck: the texts of a line's two cards, which lines are dealt, and the pairing rule.
#include "core/vars_bas.h"
#include "progress/game/card_deck.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <algorithm>
#include <map>
#include <random>
#include <set>

namespace {

void SetSegment(const QStringList& lines) {
  g_SegmentLines.clear();
  for (const QString& line : lines) g_SegmentLines.push_back({line, QString()});
}

QStringList NumberedLines(int count) {
  QStringList lines;
  for (int i = 1; i <= count; ++i) lines << QStringLiteral("w%1@[p%1]m%1").arg(i);
  return lines;
}

class CardDeck : public ::testing::Test {
 protected:
  std::mt19937 generator_{20261209};
};

TEST_F(CardDeck, CardTextsOfALine) {
  struct Case {
    QString line;
    QString word;
    QString meaning;
  };
  const Case cases[] = {
      {QStringLiteral("apple@[ˈæpəl]n. 苹果"), QStringLiteral("apple"), QStringLiteral("n. 苹果")},
      {QStringLiteral("长城@[Chángchéng]the Great Wall"), QStringLiteral("长城"), QStringLiteral("the Great Wall")},
      {QStringLiteral("   spaced word  @  a [b] meaning"), QStringLiteral("spaced word"), QStringLiteral("a  meaning")},
      {QStringLiteral("no marker at all"), QStringLiteral("no marker at all"), QStringLiteral("no marker at all")},
      {QStringLiteral("word\tnote@meaning\tnote"), QStringLiteral("word"), QStringLiteral("meaning")},
      {QStringLiteral("word@ \tafter a tab"), QStringLiteral("word"), QStringLiteral(" ")},  // one blank stays
      {QStringLiteral("@[only]"), QString(), QString()},
      {QStringLiteral("open@[never closed"), QStringLiteral("open"), QString()},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CardText(c.line, kWordSide), c.word) << c.line.toStdString();
    EXPECT_EQ(CardText(c.line, kMeaningSide), c.meaning) << c.line.toStdString();
  }
}

// Every dealt line appears once as a word and once as a meaning; only usable lines are dealt.
TEST_F(CardDeck, DealsBothCardsOfUpToSixUsableLines) {
  const QString longLine = QString(300, u'x') + QStringLiteral("@") + QString(300, u'y');
  struct Case {
    const char* name;
    QStringList segment;
    int cards;
    std::set<int> allowedPositions;
  };
  const Case cases[] = {
      {"thirty lines", NumberedLines(30), 12, {}},
      {"exactly six", NumberedLines(6), 12, {1, 2, 3, 4, 5, 6}},
      {"three lines", NumberedLines(3), 6, {1, 2, 3}},
      {"long and Chinese lines", {longLine, QStringLiteral("长城@[Chángchéng]长城的意思")}, 4, {1, 2}},
      {"empty and half lines skipped",
       {QString(), QStringLiteral("   "), QStringLiteral("w@"), QStringLiteral("@m"), QStringLiteral("a@b"),
        QStringLiteral("c@d")},
       4,
       {5, 6}},
      {"one usable line", {QStringLiteral("a@b"), QStringLiteral("@")}, 0, {}},
      {"empty segment", {}, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetSegment(c.segment);
    g_CardDeck.fill(QStringLiteral("stale"));
    ASSERT_EQ(BuildCardDeck(generator_), c.cards);
    std::map<int, QString> sides;  // position -> side letters seen
    for (int i = 0; i < c.cards; ++i) {
      const QString& entry = g_CardDeck[static_cast<size_t>(i)];
      ASSERT_EQ(entry.size(), 5) << entry.toStdString();
      const int position = CardPosition(entry);
      ASSERT_TRUE(position >= 1 && position <= c.segment.size());
      if (!c.allowedPositions.empty()) {
        EXPECT_TRUE(c.allowedPositions.count(position)) << position;
      }
      sides[position] += CardSide(entry);
    }
    EXPECT_EQ(static_cast<int>(sides.size()), c.cards / 2);
    for (auto [position, letters] : sides) {
      std::sort(letters.begin(), letters.end());
      EXPECT_EQ(letters, QStringLiteral("AB")) << position;
    }
    for (int i = c.cards; i < kDeckSize; ++i) EXPECT_TRUE(g_CardDeck[static_cast<size_t>(i)].isEmpty());
  }
}

// Each card of a small deck lands in the first slot about equally often: the shuffle is a
// uniform permutation, not a handful of random swaps (which leave cards near where they started).
TEST_F(CardDeck, ShuffleGivesEveryCardTheSameChanceOfEverySlot) {
  SetSegment(NumberedLines(3));
  constexpr int kDeals = 6000;
  std::map<QString, int> firstSlot;
  std::map<QString, int> lastSlot;
  for (int deal = 0; deal < kDeals; ++deal) {
    ASSERT_EQ(BuildCardDeck(generator_), 6);
    ++firstSlot[g_CardDeck[0]];
    ++lastSlot[g_CardDeck[5]];
  }
  ASSERT_EQ(firstSlot.size(), 6u);
  ASSERT_EQ(lastSlot.size(), 6u);
  for (const auto& [entry, count] : firstSlot) EXPECT_NEAR(count, kDeals / 6, kDeals / 6 / 6) << entry.toStdString();
  for (const auto& [entry, count] : lastSlot) EXPECT_NEAR(count, kDeals / 6, kDeals / 6 / 6) << entry.toStdString();
}

TEST_F(CardDeck, PairsAreTheWordAndTheMeaningOfOneLine) {
  struct Case {
    const char* first;
    const char* second;
    bool match;
  };
  const Case cases[] = {
      {"0007A", "0007B", true},   {"0007B", "0007A", true},  {"0007A", "0007A", false},
      {"0007A", "0008B", false},  {"0070A", "0007B", false}, {"12345A", "12345B", true},
      {"", "", false},            {"A", "B", false},         {"0000A", "0000B", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CardsMatch(QString::fromLatin1(c.first), QString::fromLatin1(c.second)), c.match)
        << c.first << " " << c.second;
  }
}

}  // namespace
