#include "core/library_lines.h"

namespace {

constexpr char16_t kCR = u'\r';
constexpr char16_t kLF = u'\n';

QString WithoutLineFeeds(QStringView segment) {
  // Lines end in CR LF, so the LF of the line before leads every line: leave it out before
  // copying rather than remove it from the copy.
  if (segment.startsWith(QChar(kLF))) segment = segment.sliced(1);
  QString line = segment.toString();
  if (segment.contains(QChar(kLF))) line.remove(QChar(kLF));
  return line;
}

}  // namespace

std::optional<QString> LibraryLineCutter::next() {
  while (start_ < text_.size()) {
    qsizetype end = text_.indexOf(QChar(kCR), start_);
    if (end < 0) end = text_.size();
    QString line = WithoutLineFeeds(text_.sliced(start_, end - start_));
    start_ = end + 1;
    if (!line.isEmpty()) return line;
  }
  return std::nullopt;
}

bool IsLibraryHeaderLine(QStringView line) { return line.startsWith(u'{') && line.lastIndexOf(u'}') >= 1; }
