#pragma once
// How a word library's text is cut into stored lines, and which line is a header: one rule for
// the loader, which fills the library tables as the file is read block by block, and for the
// download check, which must call a file a library exactly when the loader would read a header
// from it. A CR ends a line, every LF is dropped wherever it stands (lines end in CR LF), empty
// lines carry no entry (so empty lines before the "{..}" header line do not keep it from being the
// first stored line), and the last line needs no CR.

#include <QString>
#include <QStringView>

#include <optional>
#include <utility>

class LibraryLineCutter {
 public:
  // Takes the next code units of the text, which may end in the middle of a line. Every stored
  // line they complete is handed to `take(QString&&)`; when it returns false the cutter stops and
  // so does feed, returning false.
  template <typename Take>
  bool feed(QStringView units, Take&& take) {
    qsizetype start = 0;
    while (start < units.size()) {
      qsizetype end = units.indexOf(QChar(u'\r'), start);
      const bool lineEnds = end >= 0;
      if (!lineEnds) end = units.size();
      appendWithoutLineFeeds(units.sliced(start, end - start));
      start = end + 1;
      if (lineEnds && !endLine(take)) return false;
    }
    return true;
  }

  // The end of the text: hands on the last line, which needs no CR.
  template <typename Take>
  bool finish(Take&& take) {
    return endLine(take);
  }

 private:
  void appendWithoutLineFeeds(QStringView piece);

  template <typename Take>
  bool endLine(Take& take) {
    if (line_.isEmpty()) return true;
    return take(std::exchange(line_, QString()));
  }

  QString line_;  // the line read so far
};

// The first stored line of a whole text; nothing when it holds none.
std::optional<QString> FirstStoredLine(QStringView text);

// True when a stored line is a header line: it begins with "{" and holds a "}" after it.
bool IsLibraryHeaderLine(QStringView line);
