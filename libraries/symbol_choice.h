#pragma once
// The rules by which the symbol dialogs offer and store a symbol. A symbol in force is one
// character (the settings load keeps the first character of what the settings hold); a stored
// symbol may be longer, such as the phonetic end symbol "<FOLLOW_SPACE>", and must survive a
// dialog that the learner closes without changing it. Characters are whole code points: a
// character outside the Basic Multilingual Plane is never cut in half.

#include <QString>
#include <QStringList>
#include <QStringView>

// The first character of the text; empty for an empty text.
QString FirstSymbolCharacter(const QString& text);

// The characters of a sample line in order, one entry each, repeats kept.
QStringList SymbolCandidates(const QString& sample);

// The text the settings hold under the key: the library settings file first, then Settings.ini;
// empty when neither has it.
QString StoredSymbolText(QStringView key);

// The current symbol as a dialog offers it: the stored text when the symbol in force was read
// from it (its first character, or the blank that "<FOLLOW_SPACE>" stands for), else the symbol
// in force.
QString OfferedSymbol(const QString& inForce, const QString& stored);

// How a list shows a candidate: a blank as "␣" and any other white space as its code ("U+3000"),
// so that they can be told apart from each other and from the empty symbol.
QString SymbolDisplayText(const QString& symbol);

// The settings value that reads back as the symbol: the reader trims blanks and strips a pair of
// quotes, so a symbol with a blank at an end (the blank itself) or wrapped in quotes is quoted.
QString SymbolSettingValue(const QString& symbol);
