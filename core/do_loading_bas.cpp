#include "core/do_loading_bas.h"

#include "core/language_bas.h"
#include "core/library_file_stamp.h"
#include "core/library_lines.h"

#include "core/vars_bas.h"
#include "platform/dialogs/dialogs.h"
#include "platform/files/safe_read.h"
#include "platform/files/safe_write.h"

#include <QByteArray>
#include <QFile>
#include <QLocale>
#include <QStringView>
#include <QtEndian>

#include <algorithm>
#include <iterator>
#include <optional>
#include <utility>
#include <vector>

namespace {

constexpr char16_t kCR = u'\r';
constexpr char16_t kLF = u'\n';
constexpr qsizetype kMarkBytes = 2;  // the byte-order mark, skipped without being compared

// The text of a library file after its byte-order mark, read in one go; a final lone byte (an
// incomplete code unit) is dropped. Empty when the file is missing or unreadable.
// The file is remembered as read, so a later save can tell whether someone changed it since.
QString ReadLibraryText(const QString& path) {
  QByteArray bytes;
  if (platform::ReadRegularFile(path, bytes) != platform::ReadStatus::Ok) {
    ForgetLibraryFile();
    return {};
  }
  RememberLibraryFile(path, bytes);
  if (bytes.size() <= kMarkBytes) return {};
  const qsizetype units = (bytes.size() - kMarkBytes) / 2;
  QString text(units, Qt::Uninitialized);
  qFromLittleEndian<char16_t>(bytes.constData() + kMarkBytes, units, text.data());
  return text;
}

enum class LoadOutcome { Loaded, TooManyLines, TooManyGroups };

// The tables of one library, built aside and installed into the globals only when complete.
struct LoadedLibrary {
  std::vector<QString> lines;
  std::vector<WordGroup> groups = std::vector<WordGroup>(kMaxWordGroups + 1);  // 1-based
  int groupCount = 0;
  QString groupName;
  QString sourceLang;
  QString targetLang;
};

class LibraryParser {
 public:
  LibraryParser(QString groupStart, QString groupEnd)
      : groupStart_(std::move(groupStart)), groupEnd_(std::move(groupEnd)) {}

  // Cuts the text into stored lines (library_lines.h); the last line needs no CR.
  LoadOutcome parse(QStringView text) {
    LibraryLineCutter lines(text);
    while (std::optional<QString> line = lines.next()) {
      takeLanguages(*line);
      if (const LoadOutcome outcome = store(std::move(*line)); outcome != LoadOutcome::Loaded) return outcome;
    }
    return LoadOutcome::Loaded;
  }

  LoadedLibrary& library() { return library_; }

 private:
  // Every "}" met while the line so far begins with "{" takes the line's 2nd and 3rd characters
  // before that brace as the word and meaning languages; the last such brace of the file wins.
  void takeLanguages(const QString& line) {
    if (!IsLibraryHeaderLine(line)) return;
    const qsizetype brace = line.lastIndexOf(u'}');
    library_.sourceLang = brace > 1 ? line.mid(1, 1) : QString();
    library_.targetLang = brace > 2 ? line.mid(2, 1) : QString();
  }

  // A line holding both group symbols is a group header; every other line after the first header
  // counts toward the group it follows.
  LoadOutcome store(QString line) {
    if (std::ssize(library_.lines) == kMaxLibraryLines) return LoadOutcome::TooManyLines;
    const bool header = !groupStart_.isEmpty() && !groupEnd_.isEmpty() && line.contains(groupStart_) &&
                        line.contains(groupEnd_);
    if (header) {
      if (library_.groupCount == kMaxWordGroups) return LoadOutcome::TooManyGroups;
      ++library_.groupCount;
      library_.groupName = line;
      library_.groups[library_.groupCount].header = line;
    } else if (library_.groupCount > 0) {
      ++library_.groups[library_.groupCount].lineCount;
    }
    library_.lines.push_back(std::move(line));
    return LoadOutcome::Loaded;
  }

  QString groupStart_;
  QString groupEnd_;
  LoadedLibrary library_;
};

void InstallLibrary(LoadedLibrary&& library) {
  if (library.lines.empty()) library.lines.emplace_back();  // an empty library still has line 0
  g_LineCount = static_cast<std::int16_t>(library.lines.size() - 1);
  g_LineCountCopy = g_LineCount;
  g_WordLines = std::move(library.lines);
  g_Groups = std::move(library.groups);
  g_GroupCount = static_cast<std::int16_t>(library.groupCount);
  g_GroupName = std::move(library.groupName);
  g_SourceLang = std::move(library.sourceLang);
  g_TargetLang = std::move(library.targetLang);
}

void AppendUnits(char*& out, QStringView units) {
  qToLittleEndian<char16_t>(units.utf16(), units.size(), out);
  out += units.size() * 2;
}

// FF FE, the non-empty lines 0 to last joined by CR LF in UTF-16LE, and one zero byte.
QByteArray EncodeLibrary(qsizetype last) {
  constexpr QStringView kLineEnd = u"\r\n";
  qsizetype units = 0;
  for (qsizetype i = 0; i <= last; ++i) {
    const QString& line = g_WordLines[static_cast<size_t>(i)];
    if (!line.isEmpty()) units += line.size() + (i != last ? kLineEnd.size() : 0);
  }
  QByteArray bytes(kMarkBytes + units * 2 + 1, Qt::Uninitialized);
  char* out = bytes.data();
  *out++ = static_cast<char>(0xFF);
  *out++ = static_cast<char>(0xFE);
  for (qsizetype i = 0; i <= last; ++i) {
    const QString& line = g_WordLines[static_cast<size_t>(i)];
    if (line.isEmpty()) continue;
    AppendUnits(out, line);
    if (i != last) AppendUnits(out, kLineEnd);
  }
  *out = '\0';
  return bytes;
}

// Code units of a library file after its byte-order mark, read a block at a time: the probes stop
// at the header's braces and need not read a whole library.
class LibraryUnitReader {
 public:
  explicit LibraryUnitReader(const QString& path) {
    if (platform::OpenRegularFile(path, file_)) file_.skip(kMarkBytes);
  }

  std::optional<char16_t> next() {
    if (pos_ + 2 > block_.size() && !refill()) return std::nullopt;
    const char16_t unit = qFromLittleEndian<char16_t>(block_.constData() + pos_);
    pos_ += 2;
    return unit;
  }

 private:
  static constexpr qint64 kBlockBytes = 4096;

  // Keeps a lone leftover byte in front of the next block; false when no whole unit is left.
  bool refill() {
    if (!file_.isOpen()) return false;
    block_ = block_.sliced(pos_) + file_.read(kBlockBytes);
    pos_ = 0;
    return block_.size() >= 2;
  }

  QFile file_;
  QByteArray block_;
  qsizetype pos_ = 0;
};

QString WithThousands(int number) { return QLocale(QLocale::English).toString(number); }

}  // namespace

// Messages live in the language files under the module's name.
const QString kMessages = QStringLiteral("do_loading_bas");

QString LibraryTooManyLinesMessage(const QString& path) {
  return GetMessageText(kMessages, QStringLiteral("TooManyLines"),
                        QStringLiteral("The word library \"%1\" has more than %2 lines, the most a library can "
                                       "hold. It was not opened, and the file was left unchanged."))
      .arg(path, WithThousands(kMaxLibraryLines));
}

QString LibraryTooManyGroupsMessage(const QString& path) {
  return GetMessageText(kMessages, QStringLiteral("TooManyGroups"),
                        QStringLiteral("The word library \"%1\" has more than %2 word groups, the most a library "
                                       "can hold. It was not opened, and the file was left unchanged."))
      .arg(path, WithThousands(kMaxWordGroups));
}

QString LibrarySaveFailedMessage(const QString& path, const QString& reason) {
  return GetMessageText(kMessages, QStringLiteral("SaveFailed"),
                        QStringLiteral("The word library \"%1\" could not be saved (%2). The file keeps its "
                                       "previous content; your change is kept until the program ends."))
      .arg(path, reason);
}

bool LoadWordLibrary() {
  LibraryParser parser(g_GroupSymbolStart, g_GroupSymbolEnd);
  const LoadOutcome outcome = parser.parse(ReadLibraryText(g_LibraryPath));
  g_LibraryRefused = outcome != LoadOutcome::Loaded;
  if (g_LibraryRefused) {
    ForgetLibraryFile();
    InstallLibrary(LoadedLibrary{});
    platform::MsgBox(outcome == LoadOutcome::TooManyLines ? LibraryTooManyLinesMessage(g_LibraryPath)
                                                          : LibraryTooManyGroupsMessage(g_LibraryPath));
    return false;
  }
  InstallLibrary(std::move(parser.library()));
  return true;
}

bool SaveWordLibrary() {
  if (g_LibraryRefused) return false;
  const qsizetype last = std::min<qsizetype>(g_LineCountCopy, std::ssize(g_WordLines) - 1);
  const QByteArray bytes = EncodeLibrary(last);
  QString reason;
  if (platform::WriteFileAtomically(g_LibraryPath, bytes, &reason)) {
    RememberLibraryFile(g_LibraryPath, bytes);
    return true;
  }
  platform::MsgBox(LibrarySaveFailedMessage(g_LibraryPath, reason));
  return false;
}

QString ReadLibraryHeader(const QString& path) {
  LibraryUnitReader reader(path);
  bool capturing = false;
  QString inside;  // the first two units after the opening brace
  while (const std::optional<char16_t> unit = reader.next()) {
    if (*unit == kCR || *unit == kLF) continue;
    if (capturing && *unit == u'}') return inside;
    if (capturing && inside.size() < 2) inside.append(QChar(*unit));
    if (*unit == u'{') capturing = true;
  }
  return {};
}

bool LibraryHasHashAfterHeader(const QString& path) {
  LibraryUnitReader reader(path);
  while (const std::optional<char16_t> unit = reader.next()) {
    if (*unit == u'}') {
      const std::optional<char16_t> after = reader.next();
      return after && *after == u'#';
    }
  }
  return false;
}
