#include "platform/files/safe_read.h"

#include "platform/files/disk_sync.h"

#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

void SetReason(QString* reason, int error) {
  if (reason != nullptr) *reason = SystemErrorText(error);
}

bool IsMissingError(int error) { return error == ENOENT || error == ENOTDIR || error == ENAMETOOLONG || error == ELOOP; }

}  // namespace

bool IsRegularFile(const QString& path) {
  if (path.isEmpty()) return false;
  struct stat info {};
  return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
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

}  // namespace platform
