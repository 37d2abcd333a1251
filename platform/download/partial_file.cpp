#include "platform/download/partial_file.h"

#include "platform/files/disk_sync.h"
#include "platform/files/own_temporary_names.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr std::size_t kWriteBackBytes = 1 << 20;

// The file is created readable by the owner only. A finished download that replaces a file
// keeps that file's permission bits (an updated program stays executable); a new file gets the
// same permissions as any file the program creates.
void ApplyPermissions(int fd, const QByteArray& destination) {
  struct stat existing {};
  if (::stat(destination.constData(), &existing) == 0 && S_ISREG(existing.st_mode)) {
    ::fchmod(fd, existing.st_mode & 0777);
    return;
  }
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
}

}  // namespace

PartialFile::PartialFile(const QByteArray& destination) : destination_(destination) {
  const qsizetype slash = destination.lastIndexOf('/');
  const QByteArray folder = destination.left(slash + 1);
  const QByteArray name = destination.mid(slash + 1);
  // A hidden name, so a half-written file never shows up as a library in a folder listing; it
  // carries this process's id, so the next start can tell debris from a download under way.
  for (int attempt = 0; attempt < 16 && fd_ < 0; ++attempt) {
    temporary_ = folder + QFile::encodeName(NewTemporaryName(QFile::decodeName(name), TemporaryKind::Download));
    fd_ = ::open(temporary_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0600);
    lastError_ = fd_ < 0 ? errno : 0;
    if (fd_ < 0 && lastError_ != EEXIST) break;
  }
  if (fd_ >= 0) ApplyPermissions(fd_, destination_);
}

PartialFile::~PartialFile() { discard(); }

bool PartialFile::write(const char* data, std::size_t size) {
  if (fd_ < 0) return false;
  if (!WriteAll(fd_, QByteArrayView(data, static_cast<qsizetype>(size)), lastError_)) return false;
  unsynced_ += size;
  // Starts the write-back of each megabyte as it comes, so the fsync of commit() has little left
  // to wait for.
  if (unsynced_ >= kWriteBackBytes) {
    unsynced_ = 0;
    static_cast<void>(::sync_file_range(fd_, 0, 0, SYNC_FILE_RANGE_WRITE));
  }
  return true;
}

bool PartialFile::commit(bool sync) {
  if (fd_ < 0) return false;
  const bool synced = !sync || ::fsync(fd_) == 0;
  if (!synced) lastError_ = errno;
  const bool closed = ::close(fd_) == 0;
  if (!closed && synced) lastError_ = errno;
  fd_ = -1;
  const bool renamed = synced && closed && std::rename(temporary_.constData(), destination_.constData()) == 0;
  if (synced && closed && !renamed) lastError_ = errno;
  if (!renamed) {
    ::unlink(temporary_.constData());
    return false;
  }
  return true;
}

void PartialFile::discard() {
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
  ::unlink(temporary_.constData());
}

}  // namespace platform
