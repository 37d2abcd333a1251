#include "progress/scoreboard/top_list_text.h"

#include <QRegularExpression>
#include <QStringList>

#include <optional>
#include <utility>

namespace scoreboard {
namespace {

const QString kCrLf = QStringLiteral("\r\n");

// The non-empty lines of a list whose line ends may be CR, LF or CR LF.
QStringList EntryLines(const QString& list) {
  QStringList lines = NormalizeLineBreaks(list).split(QLatin1Char('\r'));
  lines.removeAll(QString());
  return lines;
}

QStringList Fields(const QString& line) {
  return line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

bool IsOwnLine(const QString& line, const QString& marker) {
  const QStringList fields = Fields(line);
  return !fields.isEmpty() && fields.last() == marker;
}

// A line's rank key: its turn count and its time, when it has that shape.
std::optional<std::pair<long long, QString>> RankKey(const QString& line) {
  static const QRegularExpression kShape(QStringLiteral("^\\s*(\\d{1,9}) +(\\d\\d:\\d\\d:\\d\\d)(\\s|$)"));
  const QRegularExpressionMatch match = kShape.match(line);
  if (!match.hasMatch()) return std::nullopt;
  return std::make_pair(match.captured(1).toLongLong(), match.captured(2));
}

// Whether `line` ranks worse than the new entry.
bool RanksBelow(const QString& line, const QString& newScore) {
  const auto lineKey = RankKey(line);
  const auto newKey = RankKey(newScore);
  if (lineKey && newKey) return *lineKey > *newKey;
  return line.left(11) > newScore;
}

// Where the score part of a line ends: after its second field.
qsizetype ScoreEnd(const QString& line) {
  static const QRegularExpression kScore(QStringLiteral("^\\s*\\S+ +\\S+"));
  const QRegularExpressionMatch match = kScore.match(line);
  return match.hasMatch() ? match.capturedLength() : line.size();
}

}  // namespace

QString NormalizeLineBreaks(const QString& text) {
  QString result = text;
  for (QChar& c : result) {
    if (c == QLatin1Char('\n') || c == QChar(0)) c = QLatin1Char('\r');
  }
  return result;
}

bool IsUsableIdentity(const QString& identity) {
  return identity.indexOf(QLatin1Char('@')) > 0 && !identity.contains(QLatin1Char(' ')) &&
         !identity.contains(QLatin1Char('\r')) && !identity.contains(QLatin1Char('\n'));
}

QString OwnEntryMarker(const QString& identity) {
  const qsizetype at = identity.indexOf(QLatin1Char('@'));
  return (at < 0 ? QString() : identity.left(at + 1)) + QLatin1Char('*');
}

QString RemoveOwnEntries(const QString& list, const QString& identity) {
  QString text = NormalizeLineBreaks(list);
  // A CR LF pair is one line end, not two.
  text.replace(QStringLiteral("\r\r"), QStringLiteral("\r"));
  if (!text.endsWith(QLatin1Char('\r'))) text += QLatin1Char('\r');
  const QString marker = OwnEntryMarker(identity);
  QString output;
  QString line;
  for (const QChar c : text) {
    if (c != QLatin1Char('\r')) {
      line += c;
      continue;
    }
    if (!line.isEmpty() && !IsOwnLine(line, marker)) output += line;
    output += kCrLf;
    line.clear();
  }
  return output;
}

QString InsertRankedEntry(const QString& list, const QString& turns, const QString& time,
                          const QString& identity) {
  const QString newScore = turns + QLatin1Char(' ') + time;
  const QString newLine = newScore + QLatin1Char(' ') + OwnEntryMarker(identity) + kCrLf;
  QString output;
  bool placed = false;
  for (const QString& line : EntryLines(list)) {
    if (!placed && RanksBelow(line, newScore)) {
      output += newLine;
      placed = true;
    }
    output += line + kCrLf;
  }
  if (!placed) output += newLine;
  return output;
}

std::array<TopListRow, 5> TopListRows(const QString& list, const QString& identity) {
  const QString marker = OwnEntryMarker(identity);
  const QStringList lines = EntryLines(list);
  std::array<TopListRow, 5> rows;
  auto fill = [&](std::size_t row, qsizetype index) {
    const QString& line = lines.at(index);
    const qsizetype split = ScoreEnd(line);
    rows[row] = {QString::number(index + 1), line.left(split) + QLatin1Char(' '), line.mid(split),
                 IsOwnLine(line, marker)};
  };
  qsizetype own = -1;
  for (qsizetype i = 0; i < lines.size() && own < 0; ++i) {
    if (IsOwnLine(lines.at(i), marker)) own = i;
  }
  const qsizetype firstRows = own >= 5 ? 4 : 5;
  for (qsizetype i = 0; i < firstRows && i < lines.size(); ++i) fill(static_cast<std::size_t>(i), i);
  if (own >= 5) fill(4, own);
  return rows;
}

}  // namespace scoreboard
