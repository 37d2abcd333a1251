#include "progress/game/card_deck.h"

#include "core/text_drawing_bas.h"
#include "core/vars_bas.h"

#include <QLatin1Char>

#include <algorithm>
#include <iterator>

namespace {

// Keeps the text before its first tab; then drops leading blanks while more than one character
// is left (a text of one blank stays one blank).
QString CleanCardText(QString text) {
  if (const qsizetype tab = text.indexOf(u'\t'); tab >= 0) text.truncate(tab);
  qsizetype blanks = 0;
  while (text.size() - blanks > 1 && text.at(blanks) == u' ') ++blanks;
  return text.mid(blanks);
}

QString DeckEntry(int position, QChar side) {
  return QStringLiteral("%1").arg(position, 4, 10, QLatin1Char('0')) + side;
}

}  // namespace

QString CardText(const QString& line, QChar side) {
  const qsizetype at = line.indexOf(u'@');
  if (at < 0) return CleanCardText(line);
  if (side == kWordSide) return CleanCardText(line.left(at).trimmed());
  return CleanCardText(RemoveBracketed(line.mid(at + 1)));
}

std::vector<int> UsableSegmentPositions() {
  std::vector<int> positions;
  for (qsizetype i = 0; i < std::ssize(g_SegmentLines); ++i) {
    const QString& line = g_SegmentLines[static_cast<size_t>(i)].text;
    if (CardText(line, kWordSide).trimmed().isEmpty() || CardText(line, kMeaningSide).trimmed().isEmpty()) continue;
    positions.push_back(static_cast<int>(i + 1));
  }
  return positions;
}

int BuildCardDeck(std::mt19937& generator) {
  for (QString& entry : g_CardDeck) entry.clear();
  const std::vector<int> usable = UsableSegmentPositions();
  if (usable.size() < 2) return 0;

  // Every choice of lines is equally likely; the order of the chosen lines does not matter, as
  // the cards are shuffled next.
  std::vector<int> chosen;
  std::sample(usable.begin(), usable.end(), std::back_inserter(chosen), kPairsPerGame, generator);
  const int pairs = static_cast<int>(chosen.size());
  for (int i = 0; i < pairs; ++i) {
    g_CardDeck[static_cast<size_t>(i)] = DeckEntry(chosen[static_cast<size_t>(i)], kWordSide);
    g_CardDeck[static_cast<size_t>(pairs + i)] = DeckEntry(chosen[static_cast<size_t>(i)], kMeaningSide);
  }
  // One unbiased shuffle (Fisher-Yates) of the dealt cards.
  std::shuffle(g_CardDeck.begin(), g_CardDeck.begin() + 2 * pairs, generator);
  return 2 * pairs;
}

std::mt19937& CardDeckGenerator() {
  static std::mt19937 generator{std::random_device{}()};
  return generator;
}

int CardPosition(const QString& entry) {
  if (entry.size() < 2) return 0;
  bool ok = false;
  const int position = entry.left(entry.size() - 1).toInt(&ok);
  return ok && position > 0 ? position : 0;
}

QChar CardSide(const QString& entry) { return entry.isEmpty() ? QChar() : entry.back(); }

bool CardsMatch(const QString& first, const QString& second) {
  const int position = CardPosition(first);
  return position > 0 && position == CardPosition(second) && CardSide(first) != CardSide(second);
}

QString CardPictureName(int cardIndex) { return QStringLiteral("%1.jpg").arg(cardIndex + 1, 5, 10, QLatin1Char('0')); }
