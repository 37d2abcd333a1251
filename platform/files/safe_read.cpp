#include "platform/files/safe_read.h"

#include "platform/files/disk_sync.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <thread>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

void SetReason(QString* reason, int error) {
  if (reason != nullptr) *reason = SystemErrorText(error);
}

bool IsMissingError(int error) { return error == ENOENT || error == ENOTDIR || error == ENAMETOOLONG || error == ELOOP; }

std::int64_t Nanoseconds(const struct timespec& time) {
  return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

FileVersion VersionFrom(const struct stat& info) {
  return FileVersion{static_cast<std::int64_t>(info.st_size), Nanoseconds(info.st_mtim), Nanoseconds(info.st_ctim),
                     static_cast<std::uint64_t>(info.st_ino), static_cast<std::uint64_t>(info.st_dev)};
}

std::optional<FileVersion> VersionOfOpenFile(int fd) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) return std::nullopt;
  return VersionFrom(info);
}

constexpr size_t kStreamBlockBytes = 64 * 1024;

}  // namespace

bool IsRegularFile(const QString& path) {
  if (path.isEmpty()) return false;
  struct stat info {};
  return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

EntryKind KindOfEntry(const QString& path) {
  struct stat info {};
  if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0) return EntryKind::Missing;
  if (S_ISREG(info.st_mode)) return EntryKind::RegularFile;
  if (S_ISDIR(info.st_mode)) return EntryKind::Folder;
  if (S_ISFIFO(info.st_mode)) return EntryKind::Fifo;
  if (S_ISCHR(info.st_mode)) return EntryKind::CharacterDevice;
  if (S_ISBLK(info.st_mode)) return EntryKind::BlockDevice;
  if (S_ISSOCK(info.st_mode)) return EntryKind::Socket;
  return EntryKind::Other;
}

std::chrono::nanoseconds SinceLastChange(const FileVersion& version) {
  struct timespec now {};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return std::chrono::nanoseconds(Nanoseconds(now) - std::max(version.modifiedNs, version.changedNs));
}

std::optional<FileVersion> VersionOfFile(const QString& path) {
  struct stat info {};
  if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
    return std::nullopt;
  return VersionFrom(info);
}

FileDescriptor OpenRegularFile(const QString& path, ReadStatus& status) {
  status = ReadStatus::Missing;
  if (path.isEmpty()) return {};
  const QByteArray name = QFile::encodeName(path);
  // Checked before opening: opening some devices already has effects (a terminal, a tape).
  struct stat info {};
  if (::stat(name.constData(), &info) != 0) {
    status = IsMissingError(errno) ? ReadStatus::Missing : ReadStatus::Failed;
    return {};
  }
  if (!S_ISREG(info.st_mode)) return {};

  FileDescriptor file(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!file.valid()) {
    status = IsMissingError(errno) ? ReadStatus::Missing : ReadStatus::Failed;
    return {};
  }
  // Something else may have been put there since the check.
  if (::fstat(file.get(), &info) != 0) {
    status = ReadStatus::Failed;
    return {};
  }
  if (!S_ISREG(info.st_mode)) return {};
  status = ReadStatus::Ok;
  return file;
}

bool OpenRegularFile(const QString& path, QFile& file) {
  ReadStatus status = ReadStatus::Missing;
  FileDescriptor fd = OpenRegularFile(path, status);
  if (status != ReadStatus::Ok || !file.open(fd.get(), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) return false;
  fd.release();  // the QFile closes it now
  return true;
}

ReadStatus ReadRegularFile(const QString& path, QByteArray& bytes, QString* reason) {
  bytes.clear();
  ReadStatus status = ReadStatus::Missing;
  errno = 0;
  const FileDescriptor file = OpenRegularFile(path, status);
  if (status != ReadStatus::Ok) {
    SetReason(reason, status == ReadStatus::Failed && errno != 0 ? errno : ENOENT);
    return status;
  }
  struct stat info {};
  if (::fstat(file.get(), &info) != 0) {
    SetReason(reason, errno);
    return ReadStatus::Failed;
  }

  // Writers replace files by renaming a new one over them, so the open file keeps its size; a
  // file that grows meanwhile is read on to its end.
  QByteArray content;
  content.resize(static_cast<qsizetype>(info.st_size) + 1);
  qsizetype filled = 0;
  for (;;) {
    if (filled == content.size()) content.resize(content.size() * 2 + 4096);
    const ssize_t got = ::read(file.get(), content.data() + filled, static_cast<size_t>(content.size() - filled));
    if (got < 0) {
      if (errno == EINTR) continue;
      SetReason(reason, errno);
      return ReadStatus::Failed;
    }
    if (got == 0) break;
    filled += got;
  }
  content.truncate(filled);
  bytes = std::move(content);
  return ReadStatus::Ok;
}

StreamStatus StreamRegularFile(const QString& path, const BlockReceiver& receive,
                               std::chrono::milliseconds quietPeriod, FileVersion* version, const Pause& pause) {
  ReadStatus status = ReadStatus::Missing;
  const FileDescriptor file = OpenRegularFile(path, status);
  if (status != ReadStatus::Ok) return status == ReadStatus::Missing ? StreamStatus::Missing : StreamStatus::Failed;
  const std::optional<FileVersion> before = VersionOfOpenFile(file.get());
  if (!before) return StreamStatus::Failed;
  if (version != nullptr) *version = *before;

  std::vector<char> block(kStreamBlockBytes);
  std::int64_t total = 0;
  for (;;) {
    const ssize_t got = ::read(file.get(), block.data(), block.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      return StreamStatus::Failed;
    }
    if (got == 0) break;
    total += got;
    if (!receive(QByteArrayView(block.data(), got))) return StreamStatus::Stopped;
  }

  // The same version on both sides of the read, and that many bytes: nobody wrote in between.
  const auto unchanged = [&] {
    const std::optional<FileVersion> now = VersionOfOpenFile(file.get());
    return now && *now == *before && VersionOfFile(path) == *before;
  };
  if (total != before->size || !unchanged()) return StreamStatus::Changing;
  if (quietPeriod > std::chrono::milliseconds(0)) {
    // The whole period, whatever the file's times say: on FUSE and network file systems they can
    // be a second or more out of date, so only a second look that long after the first is fresh.
    if (pause) {
      pause(quietPeriod);
    } else {
      std::this_thread::sleep_for(quietPeriod);
    }
    if (!unchanged()) return StreamStatus::Changing;
  }
  return StreamStatus::Whole;
}

}  // namespace platform
