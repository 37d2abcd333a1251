#pragma once
// The deck of the word/meaning card game. Up to six lines of the current segment are chosen; each
// gives two cards, its word ("A") and its meaning ("B"). A deck entry names its card as the line's
// 1-based position in the segment, at least four digits, followed by the side letter ("0007A").
// Two cards are a pair when they name the same line on different sides.

#include <QChar>
#include <QString>

#include <random>
#include <vector>

inline constexpr int kDeckSize = 12;     // cards on the table of a full game
inline constexpr int kPairsPerGame = 6;  // lines a full game uses
inline constexpr QChar kWordSide = u'A';
inline constexpr QChar kMeaningSide = u'B';

// The text the card of `side` shows for a segment line: with an "@" in the line, the word before
// it with outer blanks trimmed, or the meaning after it without its "[...]" parts; without one, the
// whole line on both sides. The text ends before its first tab, and leading blanks are dropped as
// long as more than one character is left.
QString CardText(const QString& line, QChar side);

// The 1-based positions of the segment lines whose two cards both show something.
std::vector<int> UsableSegmentPositions();

// Deals a new game into g_CardDeck from the current segment: six usable lines chosen at random
// (all of them when there are six or fewer), both cards of each, shuffled. Entries past the dealt
// cards are emptied. Returns the number of cards dealt, 0 when fewer than two lines are usable
// (no game can be played then and the deck is left empty).
int BuildCardDeck(std::mt19937& generator);

// The generator of every deal, seeded once per run from the system's entropy source.
std::mt19937& CardDeckGenerator();

// The segment position a deck entry names (0 for an entry that names none), and its side letter.
int CardPosition(const QString& entry);
QChar CardSide(const QString& entry);

// True when the two entries are the word and the meaning of the same line.
bool CardsMatch(const QString& first, const QString& second);

// The file name of the picture of card `cardIndex` (0 to 11): "00001.jpg" to "00012.jpg".
QString CardPictureName(int cardIndex);
