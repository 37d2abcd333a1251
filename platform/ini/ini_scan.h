#pragma once
// Finds a key of a section in an INI text (UTF-8) in one pass over its lines, without building
// any table: settings are read on every access and must stay fast.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace platform::ini {

// Blanks that the INI rules trim around names and values.
QByteArrayView TrimBlanks(QByteArrayView text);
QString TrimBlanks(const QString& text);


// A section or key name as the caller gave it, prepared for quick case-insensitive matching.
class IniName {
 public:
  explicit IniName(const QString& name);
  const QString& text() const { return name_; }
  bool isEmpty() const { return name_.isEmpty(); }
  bool matches(QByteArrayView candidate) const;  // candidate: UTF-8, already trimmed

 private:
  QString name_;
  QByteArray utf8_;
  bool ascii_ = true;
};

// One line of a text: [begin, contentEnd) is the line without its line end, [begin, end) with it.
struct LineBounds {
  qsizetype begin = 0;
  qsizetype contentEnd = 0;
  qsizetype end = 0;
};

// Walks the lines of a text in order.
class LineCursor {
 public:
  explicit LineCursor(QByteArrayView text) : text_(text) {}
  bool next(LineBounds& line);

 private:
  QByteArrayView text_;
  qsizetype position_ = 0;
};

// The name inside a section header line "[name]" (blanks trimmed); the closing bracket may be
// missing, as on the last line of a file.
QByteArrayView SectionHeaderName(QByteArrayView header);

// One pair of double quotes around a value is not part of it.
QByteArrayView StripQuotes(QByteArrayView value);

// Line number index of a text without its line end and without the UTF-8 byte-order mark the
// first line may carry, blanks trimmed.
QByteArrayView LineText(QByteArrayView text, const LineBounds& bounds, qsizetype index);

// The bounds of line number index (from 0); an empty line at the end of the text past the last.
LineBounds LineAt(QByteArrayView text, qsizetype index);

struct IniEntry {
  bool sectionFound = false;
  qsizetype keyLine = -1;          // line number of the key, -1 when the key is missing
  QByteArrayView value;            // the key's value with blanks trimmed (quotes still on)
  qsizetype lastSectionLine = -1;  // last non-blank line of the first section of that name
};

// Looks the key up in the sections of that name, first match in file order.
IniEntry FindIniEntry(QByteArrayView text, const IniName& section, const IniName& key);

}  // namespace platform::ini
