#include "platform/files/disk_sync.h"

#include "platform/files/file_descriptor.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace platform {

QString SystemErrorText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

bool WriteAll(int fd, QByteArrayView bytes, int& error) {
  qsizetype done = 0;
  while (done < bytes.size()) {
    const ssize_t written = ::write(fd, bytes.data() + done, static_cast<size_t>(bytes.size() - done));
    if (written < 0) {
      if (errno == EINTR) continue;
      error = errno;
      return false;
    }
    done += written;
  }
  return true;
}

int SyncFileToDisk(const QString& path) {
  const FileDescriptor fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid() || ::fdatasync(fd.get()) != 0) return errno;
  return 0;
}

void SyncFolderToDisk(const QString& folder) {
  const FileDescriptor fd(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.valid()) static_cast<void>(::fsync(fd.get()));
}

}  // namespace platform
