#include "core/do_loading_bas.h"

#include "core/language_bas.h"
#include "core/library_file_stamp.h"
#include "core/library_lines.h"

#include "core/vars_bas.h"
#include "platform/dialogs/dialogs.h"
#include "platform/files/checked_replace.h"
#include "platform/files/read_lease.h"
#include "platform/files/safe_read.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QLocale>
#include <QStringView>
#include <QTimer>
#include <QtEndian>

#include <algorithm>
#include <chrono>
#include <iterator>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace {

constexpr char16_t kCR = u'\r';
constexpr char16_t kLF = u'\n';
constexpr qsizetype kMarkBytes = 2;  // the byte-order mark, skipped without being compared

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

// Cuts the library's text into stored lines as it comes, a piece at a time (library_lines.h).
// Counts as it goes and stops at the first line or group beyond the limits.
class LibraryParser {
 public:
  LibraryParser(QString groupStart, QString groupEnd)
      : groupStart_(std::move(groupStart)), groupEnd_(std::move(groupEnd)) {}

  // Takes the next code units; false once the library is beyond the limits.
  bool feed(QStringView units) {
    return outcome_ == LoadOutcome::Loaded && lines_.feed(units, [this](QString&& line) { return take(std::move(line)); });
  }

  // The end of the text: the last line needs no CR.
  LoadOutcome finish() {
    if (outcome_ == LoadOutcome::Loaded) lines_.finish([this](QString&& line) { return take(std::move(line)); });
    return outcome_;
  }

  LoadedLibrary& library() { return library_; }

 private:
  bool take(QString&& line) {
    takeLanguages(line);
    store(std::move(line));
    return outcome_ == LoadOutcome::Loaded;
  }

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
  void store(QString line) {
    if (std::ssize(library_.lines) == kMaxLibraryLines) {
      outcome_ = LoadOutcome::TooManyLines;
      return;
    }
    const bool header = !groupStart_.isEmpty() && !groupEnd_.isEmpty() && line.contains(groupStart_) &&
                        line.contains(groupEnd_);
    if (header) {
      if (library_.groupCount == kMaxWordGroups) {
        outcome_ = LoadOutcome::TooManyGroups;
        return;
      }
      ++library_.groupCount;
      library_.groupName = line;
      library_.groups[library_.groupCount].header = line;
    } else if (library_.groupCount > 0) {
      ++library_.groups[library_.groupCount].lineCount;
    }
    library_.lines.push_back(std::move(line));
  }

  QString groupStart_;
  QString groupEnd_;
  LibraryLineCutter lines_;
  LoadOutcome outcome_ = LoadOutcome::Loaded;
  LoadedLibrary library_;
};

// Turns the bytes of a library file, as they come in blocks, into code units for the parser: the
// byte-order mark is skipped without being compared, a unit split between two blocks is joined,
// and a final lone byte (an incomplete unit) is never passed on.
class LibraryUnitDecoder {
 public:
  explicit LibraryUnitDecoder(LibraryParser& parser) : parser_(parser) {}

  bool feed(QByteArrayView bytes) {
    const qsizetype skipped = std::min<qsizetype>(markLeft_, bytes.size());
    markLeft_ -= skipped;
    bytes = bytes.sliced(skipped);
    if (bytes.isEmpty()) return true;
    if (carry_) {
      const char pair[2] = {*carry_, bytes.front()};
      carry_.reset();
      bytes = bytes.sliced(1);
      const char16_t unit = qFromLittleEndian<char16_t>(pair);
      if (!parser_.feed(QStringView(&unit, 1))) return false;
    }
    const qsizetype units = bytes.size() / 2;
    if (bytes.size() % 2 != 0) carry_ = bytes.back();
    units_.resize(units);
    qFromLittleEndian<char16_t>(bytes.data(), units, units_.data());
    return parser_.feed(units_);
  }

 private:
  LibraryParser& parser_;
  qsizetype markLeft_ = kMarkBytes;
  std::optional<char> carry_;
  QString units_;
};

// One read of the open library: the parser's tables, how the read went and what the file was.
struct LibraryFileRead {
  platform::StreamStatus status = platform::StreamStatus::Missing;
  LoadOutcome outcome = LoadOutcome::Loaded;
  platform::FileVersion version;
  QByteArray digest;
  LoadedLibrary library;
};

// Reads the library at path block by block, counting its lines as they come: a library beyond the
// limits is refused without reading the rest. A quiet period makes the read wait out a file
// written a moment ago (see StreamRegularFile).
LibraryFileRead ReadLibraryFile(const QString& path, std::chrono::milliseconds quietPeriod,
                                const platform::Pause& pause = {}) {
  LibraryParser parser(g_GroupSymbolStart, g_GroupSymbolEnd);
  LibraryUnitDecoder decoder(parser);
  LibraryDigest digest;
  LibraryFileRead read;
  read.status = platform::StreamRegularFile(
      path,
      [&](QByteArrayView block) {
        digest.add(block);
        return decoder.feed(block);
      },
      quietPeriod, &read.version, pause);
  read.outcome = parser.finish();
  read.digest = digest.result();
  read.library = std::move(parser.library());
  return read;
}

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

QString LibraryNotAFileMessage(const QString& path, platform::EntryKind kind) {
  struct KindText {
    platform::EntryKind kind;
    const char* key;
    const char* text;
  };
  static constexpr KindText kKinds[] = {
      {platform::EntryKind::Folder, "KindFolder", "a folder"},
      {platform::EntryKind::Fifo, "KindFifo", "a named pipe (FIFO)"},
      {platform::EntryKind::CharacterDevice, "KindCharacterDevice", "a character device"},
      {platform::EntryKind::BlockDevice, "KindBlockDevice", "a block device"},
      {platform::EntryKind::Socket, "KindSocket", "a socket"},
  };
  QString what = GetMessageText(kMessages, QStringLiteral("KindOther"), QStringLiteral("a special file"));
  for (const KindText& entry : kKinds) {
    if (entry.kind == kind) what = GetMessageText(kMessages, QLatin1String(entry.key), QLatin1String(entry.text));
  }
  return GetMessageText(kMessages, QStringLiteral("NotAFile"),
                        QStringLiteral("The word library \"%1\" is %2, not a library file. It was not opened, "
                                       "and it was left as it is."))
      .arg(path, what);
}

namespace {

// How long a kill waits for another program to be done writing the library before it is refused,
// and the pause between two looks. The wait keeps the bar painting (WaitKeepingWindowsPainted).
constexpr std::chrono::milliseconds kPatienceWithWriters{4000};
constexpr std::chrono::milliseconds kRetryPause{50};
// Where the kernel cannot tell whether another program has the library open for writing (see
// platform/files/read_lease.h): how long the file must have been left alone before a kill takes
// it as whole. An editor or a copy writing in steps pauses up to about a second between them.
constexpr std::chrono::milliseconds kQuietPeriod{1500};
// A file replaced or written less than this long ago is looked at once more after that long:
// a sync tool replacing it by renames several times a second never holds it open, so no lease
// sees it, but it does not leave the file alone that long.
constexpr std::chrono::milliseconds kSettleAfterChange{200};

// Waits on the window thread without freezing it: windows repaint and timers run, but the
// learner's keys and clicks, and the global key hook, wait until the kill is done (a kill started
// from them must not run inside this one). Without an application (tools, benchmarks) it sleeps.
void WaitKeepingWindowsPainted(std::chrono::nanoseconds time) {
  if (QCoreApplication::instance() == nullptr) {
    std::this_thread::sleep_for(time);
    return;
  }
  QEventLoop loop;
  QTimer::singleShot(std::chrono::ceil<std::chrono::milliseconds>(time), &loop, &QEventLoop::quit);
  loop.exec(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers);
}

// A read of a file changed less than kSettleAfterChange ago counts only when the file is still
// the same that long after the change.
void WaitOutRecentChange(LibraryFileRead& read) {
  const std::chrono::nanoseconds since = platform::SinceLastChange(read.version);
  if (since >= kSettleAfterChange) return;
  WaitKeepingWindowsPainted(kSettleAfterChange - std::max(since, std::chrono::nanoseconds(0)));
  if (platform::VersionOfFile(g_LibraryPath) != read.version) read.status = platform::StreamStatus::Changing;
}

// One read of the library for a kill. The kernel is asked first whether another program holds the
// file open for writing: then nothing is read (Changing). When it is sure nobody does, the lease
// it grants is kept across the read, and the read counts only when no writer came in meanwhile
// (and, for a file changed a moment ago, nothing replaced it just after). Where it cannot tell,
// the read must find the file left alone for the quiet period.
LibraryFileRead ReadLibraryNobodyWrites() {
  platform::ReadLease lease(g_LibraryPath);
  switch (lease.state()) {
    case platform::WriterState::Writing: {
      LibraryFileRead busy;
      busy.status = platform::StreamStatus::Changing;
      return busy;
    }
    case platform::WriterState::None: {
      LibraryFileRead read = ReadLibraryFile(g_LibraryPath, std::chrono::milliseconds(0));
      if (read.status == platform::StreamStatus::Whole && !lease.holdsFor(read.version))
        read.status = platform::StreamStatus::Changing;
      lease.release();  // not held while waiting: a writer opening the file would wait for it
      if (read.status == platform::StreamStatus::Whole) WaitOutRecentChange(read);
      return read;
    }
    case platform::WriterState::Unknown:
    case platform::WriterState::Missing: break;
  }
  return ReadLibraryFile(g_LibraryPath, kQuietPeriod, WaitKeepingWindowsPainted);
}

// Loads the library as empty, refused: the tables then can never be written over the file.
void RefuseLibrary(const QString& message) {
  g_LibraryRefused = true;
  ForgetLibraryFile();
  InstallLibrary(LoadedLibrary{});
  platform::MsgBox(message);
}

// Puts what a read gave into the globals, or refuses it with a message.
LibraryLoad InstallRead(LibraryFileRead&& read) {
  if (read.outcome != LoadOutcome::Loaded) {
    RefuseLibrary(read.outcome == LoadOutcome::TooManyLines ? LibraryTooManyLinesMessage(g_LibraryPath)
                                                            : LibraryTooManyGroupsMessage(g_LibraryPath));
    return LibraryLoad::Refused;
  }
  g_LibraryRefused = false;
  if (read.status == platform::StreamStatus::Whole || read.status == platform::StreamStatus::Changing) {
    // A read that met a change still notes what it read: a later kill then finds the file other
    // than that and reads it again before writing.
    RememberLibraryFile(read.version, read.digest);
    InstallLibrary(std::move(read.library));
  } else {
    ForgetLibraryFile();
    InstallLibrary(LoadedLibrary{});
  }
  return LibraryLoad::Loaded;
}

// A folder, a FIFO or a device where the library should be is refused by name; nothing there
// (or a regular file) is for the read to find out.
bool RefusedAsNotAFile() {
  const platform::EntryKind kind = platform::KindOfEntry(g_LibraryPath);
  if (kind == platform::EntryKind::Missing || kind == platform::EntryKind::RegularFile) return false;
  RefuseLibrary(LibraryNotAFileMessage(g_LibraryPath, kind));
  return true;
}

}  // namespace

bool LoadWordLibrary() {
  if (RefusedAsNotAFile()) return false;
  return InstallRead(ReadLibraryFile(g_LibraryPath, std::chrono::milliseconds(0))) == LibraryLoad::Loaded;
}

LibraryLoad ReloadSettledWordLibrary() {
  if (RefusedAsNotAFile()) return LibraryLoad::Refused;
  const auto giveUp = std::chrono::steady_clock::now() + kPatienceWithWriters;
  for (;;) {
    LibraryFileRead read = ReadLibraryNobodyWrites();
    if (read.status != platform::StreamStatus::Changing) return InstallRead(std::move(read));
    if (std::chrono::steady_clock::now() >= giveUp) return LibraryLoad::BeingChanged;
    WaitKeepingWindowsPainted(kRetryPause);
  }
}

LibrarySave SaveWordLibrary() {
  if (g_LibraryRefused) return LibrarySave::Failed;
  const qsizetype last = std::min<qsizetype>(g_LineCountCopy, std::ssize(g_WordLines) - 1);
  const QByteArray bytes = EncodeLibrary(last);
  QString reason;
  platform::FileVersion written;
  // Right before the rename the kernel is asked again; the lease it grants keeps writers out (their
  // open waits) until the new file is in place, and is given back as soon as the replace is done.
  std::optional<platform::ReadLease> lease;
  const auto nobodyElseWrote = [&] {
    lease.emplace(g_LibraryPath);
    return lease->state() != platform::WriterState::Writing && !LibraryFileChanged(g_LibraryPath);
  };
  const platform::ReplaceResult result =
      platform::ReplaceFileUnlessChanged(g_LibraryPath, bytes, nobodyElseWrote, &written, &reason);
  lease.reset();
  switch (result) {
    case platform::ReplaceResult::Replaced: {
      LibraryDigest digest;
      digest.add(bytes);
      RememberLibraryFile(written, digest.result());
      return LibrarySave::Saved;
    }
    case platform::ReplaceResult::ChangedMeanwhile: return LibrarySave::ChangedOutside;
    case platform::ReplaceResult::Failed: break;
  }
  platform::MsgBox(LibrarySaveFailedMessage(g_LibraryPath, reason));
  return LibrarySave::Failed;
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
