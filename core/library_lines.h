#pragma once
// How a word library's text is cut into stored lines, and which line is a header: one rule for
// the loader, which fills the library tables, and for the download check, which must call a file
// a library exactly when the loader would read a header from it. A CR ends a line, every LF is
// dropped wherever it stands (lines end in CR LF), and empty lines carry no entry, so empty lines
// before the "{..}" header line do not keep it from being the first stored line.

#include <QString>
#include <QStringView>

#include <optional>

class LibraryLineCutter {
 public:
  // `text` is the library's text after its byte-order mark; it must outlive the cutter.
  explicit LibraryLineCutter(QStringView text) : text_(text) {}

  // The next stored line (never empty); nothing once the text is used up.
  std::optional<QString> next();

 private:
  QStringView text_;
  qsizetype start_ = 0;
};

// True when a stored line is a header line: it begins with "{" and holds a "}" after it.
bool IsLibraryHeaderLine(QStringView line);
