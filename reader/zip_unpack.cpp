#include "reader/zip_unpack.h"

#include "platform/archive/utf8_ctype.h"
#include "platform/files/disk_full.h"
#include "platform/files/disk_sync.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <optional>
#include <vector>

namespace reader {
namespace {

using platform::IsDiskFullError;
using platform::SystemErrorText;
using platform::UnpackLimits;
using platform::UnpackOutcome;
using platform::UnpackResult;
using platform::WriteAll;

constexpr size_t kReadBlockBytes = 256 * 1024;
constexpr std::int64_t kProgressStepBytes = 1 << 20;
constexpr int kProgressStepHeaders = 1000;

struct ReaderDeleter {
  void operator()(archive* reader) const { archive_read_free(reader); }
};
using Reader = std::unique_ptr<archive, ReaderDeleter>;

// The archive opened for reading; nothing, with the cause in `failure`, when it cannot be.
Reader OpenZip(const QString& path, UnpackResult& failure) {
  Reader reader(archive_read_new());
  failure = UnpackResult::NeedsTooMuchMemory;
  if (!reader) return nullptr;
  archive_read_support_format_zip(reader.get());
  archive_read_set_options(reader.get(), "zip:hdrcharset=CP936");
  if (archive_read_open_filename(reader.get(), QFile::encodeName(path).constData(), kReadBlockBytes) != ARCHIVE_OK) {
    if (archive_errno(reader.get()) != ENOMEM) failure = UnpackResult::CannotOpen;
    return nullptr;
  }
  return reader;
}

bool IsLink(archive_entry* entry) {
  return archive_entry_filetype(entry) == AE_IFLNK || archive_entry_hardlink(entry) != nullptr;
}

bool IsFile(archive_entry* entry) { return archive_entry_filetype(entry) == AE_IFREG; }
bool IsFolder(archive_entry* entry) { return archive_entry_filetype(entry) == AE_IFDIR; }

// The entry's name steps with "/" separators (archives made on Windows may use backslashes), "."
// steps dropped; nothing when it would leave the target folder.
std::optional<QStringList> SafeEntrySteps(const QString& stored) {
  QString name = stored;
  name.replace('\\', '/');
  if (name.startsWith('/')) return std::nullopt;
  if (name.size() >= 2 && name.at(1) == ':') return std::nullopt;  // a drive letter
  QStringList steps;
  for (const QString& step : name.split('/', Qt::SkipEmptyParts)) {
    if (step == QLatin1String("..")) return std::nullopt;
    if (step != QLatin1String(".")) steps << step;
  }
  return steps;
}

QString EntryName(archive_entry* entry) {
  if (const char* utf8 = archive_entry_pathname_utf8(entry)) return QString::fromUtf8(utf8);
  return {};
}

UnpackOutcome Fail(UnpackResult result, const QString& reason = {}) { return {result, reason}; }

UnpackOutcome FailFromErrno(int error) {
  return Fail(IsDiskFullError(error) ? UnpackResult::DiskFull : UnpackResult::WriteFailed, SystemErrorText(error));
}

UnpackOutcome FailFromReader(archive* reader) {
  if (archive_errno(reader) == ENOMEM) return Fail(UnpackResult::NeedsTooMuchMemory);
  const char* text = archive_error_string(reader);
  return Fail(UnpackResult::Damaged, text != nullptr ? QString::fromLocal8Bit(text).trimmed() : QString());
}

// A header that came with a warning: a name the code page cannot convert, or the archive library
// found the entry damaged (its sizes or checksums disagree between the directory and the entry).
UnpackOutcome FailFromWarning(archive* reader, archive_entry* entry) {
  if (archive_entry_pathname_utf8(entry) == nullptr) return Fail(UnpackResult::BadName);
  return FailFromReader(reader);
}

// Keeps the progress handler's rhythm and remembers a request to stop.
class ProgressPacer {
 public:
  explicit ProgressPacer(const UnpackProgress& progress) : progress_(progress) {}
  bool report(std::int64_t written, std::int64_t declared) {
    return !progress_ || progress_(written, declared);
  }

 private:
  const UnpackProgress& progress_;
};

struct Survey {
  std::int64_t declaredBytes = 0;
};

// First pass, headers only: names must decode and stay inside the folder, and what the archive
// declares must fit the limits.
UnpackOutcome SurveyEntries(const QString& archivePath, const UnpackLimits& limits, std::int64_t packedBytes,
                            ProgressPacer& pacer, Survey& survey) {
  UnpackResult failure = UnpackResult::CannotOpen;
  Reader reader = OpenZip(archivePath, failure);
  if (!reader) return Fail(failure);
  archive_entry* entry = nullptr;
  int status = ARCHIVE_OK;
  int entries = 0;
  while ((status = archive_read_next_header(reader.get(), &entry)) != ARCHIVE_EOF) {
    if (status != ARCHIVE_OK && status != ARCHIVE_WARN) return FailFromReader(reader.get());
    if (++entries > limits.maxEntries) return Fail(UnpackResult::TooManyEntries);
    if (entries % kProgressStepHeaders == 0 && !pacer.report(0, 0)) return Fail(UnpackResult::Cancelled);
    if (IsLink(entry)) continue;  // never written, whatever its header says
    if (status == ARCHIVE_WARN) return FailFromWarning(reader.get(), entry);
    const QString name = EntryName(entry);
    if (name.isEmpty()) return Fail(UnpackResult::BadName);
    if (!SafeEntrySteps(name)) return Fail(UnpackResult::UnsafeEntry, name);
    if (IsFile(entry) && archive_entry_size_is_set(entry)) {
      survey.declaredBytes += std::max<la_int64_t>(archive_entry_size(entry), 0);
      if (survey.declaredBytes > limits.maxTotalBytes) return Fail(UnpackResult::TooLarge);
      if (survey.declaredBytes > packedBytes * limits.maxRatio) return Fail(UnpackResult::RatioTooHigh);
    }
  }
  return Fail(UnpackResult::Unpacked);
}

// Creates the folders of `steps` below `base` (each one a folder, never a file); false with errno
// set when one cannot be made or is a file.
bool MakeFolders(const QString& base, const QStringList& steps, qsizetype count) {
  QString path = base;
  for (qsizetype i = 0; i < count; ++i) {
    path += QLatin1Char('/') + steps[i];
    const QByteArray name = QFile::encodeName(path);
    if (::mkdir(name.constData(), 0777) == 0) continue;
    if (errno != EEXIST) return false;
    struct stat info {};
    if (::lstat(name.constData(), &info) != 0) return false;
    if (!S_ISDIR(info.st_mode)) {
      errno = EEXIST;
      return false;
    }
  }
  return true;
}

class EntryWriter {
 public:
  EntryWriter(const UnpackLimits& limits, std::int64_t packedBytes, ProgressPacer& pacer, std::int64_t declared)
      : limits_(limits), packedBytes_(packedBytes), pacer_(pacer), declared_(declared), buffer_(kReadBlockBytes) {}

  std::int64_t written() const { return written_; }

  UnpackOutcome writeFile(archive* reader, archive_entry* entry, const QString& path, const QString& entryName) {
    entryName_ = entryName;
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0) return errno == EEXIST || errno == EISDIR ? Fail(UnpackResult::DuplicateEntry, entryName_) : FailFromErrno(errno);
    UnpackOutcome outcome = copyData(reader, fd);
    if (outcome.ok() && archive_entry_mtime_is_set(entry)) {
      const struct timespec times[2] = {{0, UTIME_OMIT}, {archive_entry_mtime(entry), archive_entry_mtime_nsec(entry)}};
      ::futimens(fd, times);
    }
    // On disk before anything renames it into place: a crash then never leaves an empty library.
    if (outcome.ok() && ::fdatasync(fd) != 0) outcome = FailFromErrno(errno);
    if (::close(fd) != 0 && outcome.ok()) outcome = FailFromErrno(errno);
    return outcome;
  }

 private:
  UnpackOutcome copyData(archive* reader, int fd) {
    for (;;) {
      const la_ssize_t got = archive_read_data(reader, buffer_.data(), buffer_.size());
      if (got == 0) return Fail(UnpackResult::Unpacked);
      if (got < 0) return FailFromReader(reader);  // truncated, or data that fails its checksum
      written_ += got;
      if (written_ > limits_.maxTotalBytes) return Fail(UnpackResult::TooLarge);
      if (written_ > packedBytes_ * limits_.maxRatio) return Fail(UnpackResult::RatioTooHigh);
      if (int error = 0; !WriteAll(fd, QByteArrayView(buffer_.data(), got), error)) return FailFromErrno(error);
      if (written_ - reported_ >= kProgressStepBytes) {
        reported_ = written_;
        // Starts the write-back of what is written so far, so the final fsync has little to wait for.
        static_cast<void>(::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE));
        if (!pacer_.report(written_, declared_)) return Fail(UnpackResult::Cancelled);
      }
    }
  }

  const UnpackLimits& limits_;
  std::int64_t packedBytes_;
  ProgressPacer& pacer_;
  std::int64_t declared_;
  std::vector<char> buffer_;
  std::int64_t written_ = 0;
  std::int64_t reported_ = 0;
  QString entryName_;
};

UnpackOutcome WriteEntries(const QString& archivePath, const QString& folder, const UnpackLimits& limits,
                           std::int64_t packedBytes, ProgressPacer& pacer, const Survey& survey,
                           const UnpackFilter& wanted) {
  UnpackResult failure = UnpackResult::CannotOpen;
  Reader reader = OpenZip(archivePath, failure);
  if (!reader) return Fail(failure);
  EntryWriter writer(limits, packedBytes, pacer, survey.declaredBytes);
  QString base = folder;
  while (base.size() > 1 && base.endsWith(QLatin1Char('/'))) base.chop(1);
  archive_entry* entry = nullptr;
  int status = ARCHIVE_OK;
  while ((status = archive_read_next_header(reader.get(), &entry)) != ARCHIVE_EOF) {
    if (status != ARCHIVE_OK && !(status == ARCHIVE_WARN && IsLink(entry))) return FailFromReader(reader.get());
    if (IsLink(entry) || !(IsFile(entry) || IsFolder(entry))) continue;
    const QString name = EntryName(entry);
    const std::optional<QStringList> steps = SafeEntrySteps(name);
    if (!steps || steps->isEmpty()) continue;  // "./" and the like: nothing to write
    if (wanted && !wanted(steps->first())) continue;
    const qsizetype folders = IsFolder(entry) ? steps->size() : steps->size() - 1;
    if (!MakeFolders(base, *steps, folders)) {
      return errno == EEXIST ? Fail(UnpackResult::DuplicateEntry, name) : FailFromErrno(errno);
    }
    if (IsFile(entry)) {
      const UnpackOutcome outcome =
          writer.writeFile(reader.get(), entry, base + QLatin1Char('/') + steps->join('/'), name);
      if (!outcome.ok()) return outcome;
    }
    if (!pacer.report(writer.written(), survey.declaredBytes)) return Fail(UnpackResult::Cancelled);
  }
  return Fail(UnpackResult::Unpacked);
}

}  // namespace

UnpackOutcome UnpackZipArchive(const QString& archivePath, const QString& folder, const UnpackLimits& limits,
                               const UnpackProgress& progress, const UnpackFilter& wanted) {
  const QFileInfo archiveInfo(archivePath);
  const std::int64_t packedBytes = std::max<std::int64_t>(archiveInfo.size(), 1);
  platform::ScopedUtf8Ctype utf8;
  ProgressPacer pacer(progress);
  Survey survey;
  const UnpackOutcome surveyed = SurveyEntries(archivePath, limits, packedBytes, pacer, survey);
  if (!surveyed.ok()) return surveyed;
  return WriteEntries(archivePath, folder, limits, packedBytes, pacer, survey, wanted);
}

}  // namespace reader
