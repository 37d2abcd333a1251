#include "libraries/symbol_choice.h"

#include "core/read_ini_bas.h"
#include "core/text_drawing_bas.h"

namespace {

const QString kLibrarySection = QStringLiteral("Normal");

qsizetype CharacterLength(const QString& text, qsizetype at) {
  const bool pair = at + 1 < text.size() && text[at].isHighSurrogate() && text[at + 1].isLowSurrogate();
  return pair ? 2 : 1;
}

}  // namespace

QString FirstSymbolCharacter(const QString& text) {
  return text.isEmpty() ? QString() : text.left(CharacterLength(text, 0));
}

QStringList SymbolCandidates(const QString& sample) {
  QStringList characters;
  characters.reserve(sample.size());
  for (qsizetype at = 0; at < sample.size();) {
    const qsizetype length = CharacterLength(sample, at);
    characters.append(sample.mid(at, length));
    at += length;
  }
  return characters;
}

QString StoredSymbolText(QStringView key) {
  const QString name = key.toString();
  const QString library = ReadLibraryValue(kLibrarySection, name);
  if (!IsMissingSetting(library)) return library;
  const QString program = ReadProgramValue(name);
  return IsMissingSetting(program) ? QString() : program;
}

QString OfferedSymbol(const QString& inForce, const QString& stored) {
  if (stored.size() <= CharacterLength(stored, 0)) return inForce;  // one character or none
  const bool readFromStored =
      inForce == FirstSymbolCharacter(stored) || (inForce == QStringLiteral(" ") && stored.contains(FollowSpaceSymbol()));
  return readFromStored ? stored : inForce;
}

QString SymbolDisplayText(const QString& symbol) {
  if (symbol.size() != 1 || !symbol.front().isSpace()) return symbol;
  if (symbol.front() == u' ') return QStringLiteral("␣");
  return QStringLiteral("U+%1").arg(symbol.front().unicode(), 4, 16, QLatin1Char('0')).toUpper();
}

QString SymbolSettingValue(const QString& symbol) {
  if (symbol.isEmpty()) return symbol;
  const bool trimmed = symbol.front().isSpace() || symbol.back().isSpace();
  const bool quoted = symbol.size() >= 2 && symbol.front() == u'"' && symbol.back() == u'"';
  return trimmed || quoted ? u'"' + symbol + u'"' : symbol;
}
