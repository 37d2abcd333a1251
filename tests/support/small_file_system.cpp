#include "tests/support/small_file_system.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace testing_support {
namespace {

QString FillerPath(const QString& folder) { return folder + QStringLiteral(".filler"); }

}  // namespace

SmallFileSystem::SmallFileSystem(int kilobytes, const QString& mountPoint)
    : path_(mountPoint.isEmpty() ? ownFolder_.path() : mountPoint) {
  if (path_.endsWith(QLatin1Char('/'))) path_.chop(1);
  const QByteArray target = QFile::encodeName(path_);
  const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k,mode=0777";
  mounted_ = ::mount("tmpfs", target.constData(), "tmpfs", MS_NOSUID | MS_NODEV, options.constData()) == 0;
  if (!mounted_) error_ = QStringLiteral("cannot mount a tmpfs: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
}

SmallFileSystem::~SmallFileSystem() {
  // Detached, so a program that still has a file open there cannot keep the mount alive.
  if (mounted_) ::umount2(QFile::encodeName(path_).constData(), MNT_DETACH);
}

void SmallFileSystem::fill() const { FillFreeSpace(folder()); }

void FillFreeSpace(const QString& folder) {
  const QByteArray path = QFile::encodeName(FillerPath(folder));
  const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return;
  const QByteArray block(4096, 'x');
  // Whole blocks first, then single bytes into the last partly used page.
  for (qsizetype size : {qsizetype{4096}, qsizetype{1}}) {
    while (::write(fd, block.constData(), static_cast<size_t>(size)) == size) {
    }
  }
  ::close(fd);
}

void SmallFileSystem::unfill() const { QFile::remove(FillerPath(folder())); }

}  // namespace testing_support
