#include "platform/reader/reader_wire.h"

#include <QtEndian>


namespace platform::reader {
namespace {

struct ModeName {
  ReaderMode mode;
  const char* word;
};
constexpr ModeName kModeNames[] = {{ReaderMode::Page, "page"}, {ReaderMode::Archive, "archive"}};

constexpr char kProgressTag = 'P';
constexpr char kAnswerTag = 'A';
constexpr qsizetype kNumberBytes = 8;

const QString kMemory = QStringLiteral("--memory=");
const QString kCpu = QStringLiteral("--cpu=");
const QString kFileSize = QStringLiteral("--file-size=");
const QString kOpenFiles = QStringLiteral("--open-files=");
const QString kWrite = QStringLiteral("--write=");
const QString kEndOfOptions = QStringLiteral("--");

void AppendNumber(QByteArray& bytes, std::int64_t value) {
  char raw[kNumberBytes];
  qToLittleEndian<std::int64_t>(value, raw);
  bytes.append(raw, kNumberBytes);
}

std::int64_t NumberAt(const QByteArray& bytes, qsizetype at) {
  return qFromLittleEndian<std::int64_t>(bytes.constData() + at);
}

// The number after `option` in `argument`; false when the argument is another option or the
// number does not read.
template <typename Number>
bool ReadOption(const QString& argument, const QString& option, Number& value) {
  if (!argument.startsWith(option)) return false;
  bool ok = false;
  const qlonglong number = argument.mid(option.size()).toLongLong(&ok);
  if (ok && number >= 0) value = static_cast<Number>(number);
  return ok && number >= 0;
}

}  // namespace

QString ModeWord(ReaderMode mode) {
  for (const ModeName& name : kModeNames) {
    if (name.mode == mode) return QString::fromLatin1(name.word);
  }
  return {};
}

QStringList ReaderArguments(const ReaderRun& run) {
  const ReaderLimits& limits = run.limits;
  QStringList arguments{ModeWord(run.mode),
                        kMemory + QString::number(limits.memoryBytes),
                        kCpu + QString::number(limits.cpuSeconds),
                        kFileSize + QString::number(limits.fileBytes),
                        kOpenFiles + QString::number(limits.openFiles)};
  if (!run.writableFolder.isEmpty()) arguments << kWrite + run.writableFolder;
  arguments << kEndOfOptions << run.arguments;
  return arguments;
}

std::optional<ReaderInvocation> ParseReaderArguments(const QStringList& arguments) {
  if (arguments.isEmpty()) return std::nullopt;
  ReaderInvocation invocation;
  bool known = false;
  for (const ModeName& name : kModeNames) {
    if (arguments.first() == QLatin1String(name.word)) {
      invocation.mode = name.mode;
      known = true;
    }
  }
  if (!known) return std::nullopt;
  ReaderLimits& limits = invocation.limits;
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    if (argument == kEndOfOptions) {
      invocation.arguments = arguments.mid(i + 1);
      return invocation;
    }
    if (argument.startsWith(kWrite)) {
      invocation.writableFolder = argument.mid(kWrite.size());
      continue;
    }
    if (!ReadOption(argument, kMemory, limits.memoryBytes) && !ReadOption(argument, kCpu, limits.cpuSeconds) &&
        !ReadOption(argument, kFileSize, limits.fileBytes) && !ReadOption(argument, kOpenFiles, limits.openFiles)) {
      return std::nullopt;
    }
  }
  return std::nullopt;  // no end of the options: not a command line the program wrote
}

QByteArray ProgressFrame(std::int64_t done, std::int64_t total) {
  QByteArray frame(1, kProgressTag);
  AppendNumber(frame, done);
  AppendNumber(frame, total);
  return frame;
}

QByteArray AnswerFrameHead(qsizetype answerBytes) {
  QByteArray head(1, kAnswerTag);
  AppendNumber(head, answerBytes);
  return head;
}

std::optional<ReaderFrameReader::Frame> ReaderFrameReader::nextFrame() {
  if (pending_.isEmpty()) return std::nullopt;
  if (answer_) {  // nothing may follow the answer
    broken_ = true;
    return std::nullopt;
  }
  const char tag = pending_.front();
  if (tag == kProgressTag) {
    if (pending_.size() < 1 + 2 * kNumberBytes) return std::nullopt;
    Frame frame{true, NumberAt(pending_, 1), NumberAt(pending_, 1 + kNumberBytes)};
    pending_.remove(0, 1 + 2 * kNumberBytes);
    return frame;
  }
  if (tag != kAnswerTag) {
    broken_ = true;
    return std::nullopt;
  }
  if (pending_.size() < 1 + kNumberBytes) return std::nullopt;
  const std::int64_t length = NumberAt(pending_, 1);
  if (length < 0 || length > kMaxAnswerBytes) {
    broken_ = true;
    return std::nullopt;
  }
  if (pending_.size() < 1 + kNumberBytes + length) return std::nullopt;
  answer_ = pending_.mid(1 + kNumberBytes, length);
  pending_.remove(0, 1 + kNumberBytes + length);
  return Frame{};
}

}  // namespace platform::reader
