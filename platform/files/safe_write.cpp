#include "platform/files/safe_write.h"

#include "platform/files/disk_sync.h"
#include "platform/files/file_descriptor.h"
#include "platform/files/own_temporary_names.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

void SetReason(QString* reason, const QString& text) {
  if (reason != nullptr) *reason = text;
}


// The temporary file beside the target: hidden, and named so that no two writers meet.
struct TemporaryFile {
  QByteArray name;
  FileDescriptor fd;
};

bool CreateTemporaryFile(const QString& target, TemporaryFile& temporary, int& error) {
  const QFileInfo info(target);
  // The name carries this process's id, so the next start can tell debris from a write under way.
  const QString folder = info.absolutePath() + QLatin1Char('/');
  for (int attempt = 0; attempt < 16; ++attempt) {
    temporary.name = QFile::encodeName(folder + NewTemporaryName(info.fileName(), TemporaryKind::Write));
    // 0666 less the umask, as any new file of the program.
    temporary.fd = FileDescriptor(
        ::open(temporary.name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666));
    if (temporary.fd.valid()) return true;
    error = errno;
    if (error != EEXIST) return false;
  }
  return false;
}

// The rename is on disk only once the folder is: a crash just after a successful rename would
// otherwise bring the old file back. The new content is complete either way, so a folder that
// refuses the sync does not make the write a failure.
void SyncFolderOf(const QString& target) { SyncFolderToDisk(QFileInfo(target).absolutePath()); }

}  // namespace

bool CheckWriteTarget(const QByteArray& targetName, struct stat* old, bool* exists, QString* reason) {
  *exists = ::stat(targetName.constData(), old) == 0;
  if (*exists && !S_ISREG(old->st_mode)) {
    SetReason(reason, QStringLiteral("not a regular file"));
    return false;
  }
  if (*exists && ::access(targetName.constData(), W_OK) != 0) {
    SetReason(reason, SystemErrorText(errno));
    return false;
  }
  return true;
}

QString ResolvedWriteTarget(const QString& path) {
  const QFileInfo info(path);
  if (!info.isSymLink()) return path;
  const QString target = info.canonicalFilePath();
  return target.isEmpty() ? info.symLinkTarget() : target;  // a dangling link names the file to create
}

QByteArray WriteBesideTarget(const QString& target, QByteArrayView bytes, const struct stat* old, QString* reason) {
  TemporaryFile temporary;
  int error = 0;
  if (!CreateTemporaryFile(target, temporary, error)) {
    SetReason(reason, SystemErrorText(error));
    return {};
  }
  // Each step's failure removes the temporary file; the target has not been touched.
  const auto fail = [&](int code) {
    temporary.fd.close();
    ::unlink(temporary.name.constData());
    SetReason(reason, SystemErrorText(code));
    return QByteArray();
  };
  if (old != nullptr && ::fchmod(temporary.fd.get(), old->st_mode & 07777) != 0) return fail(errno);
  if (!WriteAll(temporary.fd.get(), bytes, error)) return fail(error);
  // Data a file system accepted into its cache can still be refused when it reaches the disk
  // (delayed allocation on a full disk, a network file system): fsync and close report that.
  if (::fsync(temporary.fd.get()) != 0) return fail(errno);
  if (!temporary.fd.close()) return fail(errno);
  return temporary.name;
}

bool WriteFileAtomically(const QString& path, QByteArrayView bytes, QString* reason) {
  if (path.isEmpty()) {
    SetReason(reason, SystemErrorText(ENOENT));
    return false;
  }
  const QString target = ResolvedWriteTarget(path);
  const QByteArray targetName = QFile::encodeName(target);

  struct stat old {};
  bool exists = false;
  if (!CheckWriteTarget(targetName, &old, &exists, reason)) return false;
  const QByteArray temporary = WriteBesideTarget(target, bytes, exists ? &old : nullptr, reason);
  if (temporary.isEmpty()) return false;
  if (::rename(temporary.constData(), targetName.constData()) != 0) {
    const int error = errno;
    ::unlink(temporary.constData());
    SetReason(reason, SystemErrorText(error));
    return false;
  }
  SyncFolderOf(target);
  return true;
}

}  // namespace platform
