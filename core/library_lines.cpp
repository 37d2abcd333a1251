#include "core/library_lines.h"

void LibraryLineCutter::appendWithoutLineFeeds(QStringView piece) {
  // Lines end in CR LF, so the LF of the line before leads every line: leave it out before
  // copying rather than remove it from the copy.
  if (piece.startsWith(QChar(u'\n'))) piece = piece.sliced(1);
  if (!piece.contains(QChar(u'\n'))) {
    line_.append(piece);
    return;
  }
  for (const QChar unit : piece) {
    if (unit != QChar(u'\n')) line_.append(unit);
  }
}

std::optional<QString> FirstStoredLine(QStringView text) {
  std::optional<QString> first;
  const auto takeFirst = [&first](QString&& line) {
    first = std::move(line);
    return false;
  };
  LibraryLineCutter cutter;
  if (cutter.feed(text, takeFirst)) cutter.finish(takeFirst);
  return first;
}

bool IsLibraryHeaderLine(QStringView line) { return line.startsWith(u'{') && line.lastIndexOf(u'}') >= 1; }
