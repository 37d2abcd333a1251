#include "platform/ini/ini_scan.h"

#include <cstring>

namespace platform::ini {
namespace {

constexpr QByteArrayView kUtf8Bom("\xEF\xBB\xBF");

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsAscii(QByteArrayView text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

QByteArrayView SectionHeaderName(QByteArrayView header) {
  QByteArrayView inside = header.sliced(1);
  const qsizetype close = inside.indexOf(']');
  if (close >= 0) inside = inside.first(close);
  return TrimBlanks(inside);
}

QByteArrayView StripQuotes(QByteArrayView value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') return value.sliced(1, value.size() - 2);
  return value;
}

QByteArrayView LineText(QByteArrayView text, const LineBounds& bounds, qsizetype index) {
  QByteArrayView line = text.sliced(bounds.begin, bounds.contentEnd - bounds.begin);
  if (index == 0 && line.startsWith(kUtf8Bom)) line = line.sliced(kUtf8Bom.size());
  return TrimBlanks(line);
}

QByteArrayView TrimBlanks(QByteArrayView text) {
  qsizetype begin = 0;
  qsizetype end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.sliced(begin, end - begin);
}

QString TrimBlanks(const QString& text) {
  qsizetype begin = 0;
  qsizetype end = text.size();
  while (begin < end && (text[begin] == u' ' || text[begin] == u'\t')) ++begin;
  while (end > begin && (text[end - 1] == u' ' || text[end - 1] == u'\t')) --end;
  return text.mid(begin, end - begin);
}

IniName::IniName(const QString& name) : name_(TrimBlanks(name)), utf8_(name_.toUtf8()) {
  ascii_ = IsAscii(utf8_);
}

bool IniName::matches(QByteArrayView candidate) const {
  const bool candidateAscii = IsAscii(candidate);
  if (ascii_ != candidateAscii) return false;
  if (ascii_) {
    if (candidate.size() != utf8_.size()) return false;
    for (qsizetype i = 0; i < candidate.size(); ++i) {
      if (AsciiLower(candidate[i]) != AsciiLower(utf8_[i])) return false;
    }
    return true;
  }
  return QString::fromUtf8(candidate).compare(name_, Qt::CaseInsensitive) == 0;
}

bool LineCursor::next(LineBounds& line) {
  if (position_ >= text_.size()) return false;
  line.begin = position_;
  const void* newline =
      std::memchr(text_.data() + position_, '\n', static_cast<size_t>(text_.size() - position_));
  if (newline != nullptr) {
    line.end = static_cast<const char*>(newline) - text_.data() + 1;
    line.contentEnd = line.end - 1;
  } else {
    line.end = text_.size();
    line.contentEnd = text_.size();
  }
  if (line.contentEnd > line.begin && text_[line.contentEnd - 1] == '\r') --line.contentEnd;
  position_ = line.end;
  return true;
}

LineBounds LineAt(QByteArrayView text, qsizetype index) {
  LineCursor cursor(text);
  LineBounds line;
  for (qsizetype i = 0; i <= index; ++i) {
    if (!cursor.next(line)) return LineBounds{text.size(), text.size(), text.size()};
  }
  return line;
}

IniEntry FindIniEntry(QByteArrayView text, const IniName& section, const IniName& key) {
  IniEntry entry;
  bool inSection = false;       // inside a section of the wanted name
  bool inFirstSection = false;  // inside the first of them, where new keys go
  LineCursor cursor(text);
  LineBounds bounds;
  for (qsizetype index = 0; cursor.next(bounds); ++index) {
    const QByteArrayView line = LineText(text, bounds, index);
    if (line.isEmpty()) continue;

    if (line.front() == '[') {
      inSection = section.matches(SectionHeaderName(line));
      inFirstSection = inSection && !entry.sectionFound;
      if (inFirstSection) {
        entry.sectionFound = true;
        entry.lastSectionLine = index;
      }
      continue;
    }
    if (!inSection) continue;
    if (inFirstSection) entry.lastSectionLine = index;
    if (line.front() == ';') continue;  // comment

    const qsizetype equals = line.indexOf('=');
    if (equals < 0) continue;
    if (key.matches(TrimBlanks(line.first(equals)))) {
      entry.keyLine = index;
      entry.value = TrimBlanks(line.sliced(equals + 1));
      return entry;
    }
  }
  return entry;
}

}  // namespace platform::ini
