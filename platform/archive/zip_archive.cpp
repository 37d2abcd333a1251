#include "platform/archive/zip_archive.h"

#include "platform/archive/archive_mode_arguments.h"

namespace platform {
namespace {

struct ResultWord {
  UnpackResult result;
  const char* word;
};
constexpr ResultWord kResultWords[] = {
    {UnpackResult::Unpacked, "unpacked"},
    {UnpackResult::CannotOpen, "cannot-open"},
    {UnpackResult::UnsafeEntry, "unsafe-entry"},
    {UnpackResult::BadName, "bad-name"},
    {UnpackResult::DuplicateEntry, "duplicate-entry"},
    {UnpackResult::Damaged, "damaged"},
    {UnpackResult::TooManyEntries, "too-many-entries"},
    {UnpackResult::TooLarge, "too-large"},
    {UnpackResult::RatioTooHigh, "ratio-too-high"},
    {UnpackResult::DiskFull, "disk-full"},
    {UnpackResult::WriteFailed, "write-failed"},
    {UnpackResult::Cancelled, "cancelled"},
    {UnpackResult::NeedsTooMuchMemory, "needs-too-much-memory"},
};

struct EndResult {
  reader::ReaderEnd end;
  UnpackResult result;
};
constexpr EndResult kEndResults[] = {
    {reader::ReaderEnd::OutOfMemory, UnpackResult::NeedsTooMuchMemory},
    {reader::ReaderEnd::OutOfTime, UnpackResult::TookTooLong},
    {reader::ReaderEnd::Deadline, UnpackResult::TookTooLong},
    {reader::ReaderEnd::Cancelled, UnpackResult::Cancelled},
    {reader::ReaderEnd::Crashed, UnpackResult::ReaderFailed},
    {reader::ReaderEnd::NoAnswer, UnpackResult::ReaderFailed},
    {reader::ReaderEnd::CannotStart, UnpackResult::ReaderMissing},
};

}  // namespace

QByteArray EncodeUnpackOutcome(const UnpackOutcome& outcome) {
  for (const ResultWord& word : kResultWords) {
    if (word.result == outcome.result) return QByteArray(word.word) + '\n' + outcome.reason.toUtf8();
  }
  return {};
}

std::optional<UnpackOutcome> DecodeUnpackOutcome(const QByteArray& answer) {
  const qsizetype end = answer.indexOf('\n');
  if (end < 0) return std::nullopt;
  const QByteArray head = answer.left(end);
  for (const ResultWord& word : kResultWords) {
    if (head == word.word) return UnpackOutcome{word.result, QString::fromUtf8(answer.mid(end + 1))};
  }
  return std::nullopt;
}

reader::ReaderLimits ArchiveReaderLimits() {
  reader::ReaderLimits limits;
  limits.cpuSeconds = 60;
  limits.fileBytes = UnpackLimits{}.maxTotalBytes;
  limits.deadline = std::chrono::minutes(5);
  return limits;
}

UnpackOutcome UnpackZipArchive(const UnpackRequest& request) {
  reader::ReaderRun run;
  run.mode = reader::ReaderMode::Archive;
  run.arguments = WriteArchiveModeArguments({request.archivePath, request.folder, request.onlyBeginning});
  run.writableFolder = request.folder;
  run.limits = request.limits;
  run.onProgress = request.onProgress;
  run.cancelled = request.cancelled;
  const reader::ReaderOutcome outcome = reader::RunReader(run);
  if (outcome.answered()) {
    if (std::optional<UnpackOutcome> answered = DecodeUnpackOutcome(outcome.answer)) return *answered;
    return {UnpackResult::ReaderFailed, QStringLiteral("an answer that does not read")};
  }
  for (const EndResult& end : kEndResults) {
    // How a failed reader ended helps the learner report it; a limit is cause enough.
    if (end.end == outcome.end) return {end.result, end.result == UnpackResult::ReaderFailed ? outcome.detail : QString()};
  }
  return {UnpackResult::ReaderFailed, outcome.detail};
}

}  // namespace platform
