#include "platform/files/checked_replace.h"

#include "platform/files/disk_sync.h"
#include "platform/files/safe_write.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

void SetReason(QString* reason, const QString& text) {
  if (reason != nullptr) *reason = text;
}

}  // namespace

ReplaceResult ReplaceFileUnlessChanged(const QString& path, QByteArrayView bytes, const std::function<bool()>& unchanged,
                                       FileVersion* written, QString* reason) {
  if (path.isEmpty()) {
    SetReason(reason, SystemErrorText(ENOENT));
    return ReplaceResult::Failed;
  }
  const QString target = ResolvedWriteTarget(path);
  const QByteArray targetName = QFile::encodeName(target);
  struct stat old {};
  bool exists = false;
  if (!CheckWriteTarget(targetName, &old, &exists, reason)) return ReplaceResult::Failed;

  // The staging file is the safe writer's own temporary file (one temporary name, made for the
  // target's name), so a run that dies before the rename leaves nothing the next start does not
  // clear away.
  const QByteArray stagingName = WriteBesideTarget(target, bytes, exists ? &old : nullptr, reason);
  if (stagingName.isEmpty()) return ReplaceResult::Failed;
  const auto fail = [&](int error) {
    ::unlink(stagingName.constData());
    SetReason(reason, SystemErrorText(error));
    return ReplaceResult::Failed;
  };
  const std::optional<FileVersion> staged = VersionOfFile(QFile::decodeName(stagingName));
  if (!staged) return fail(errno);

  if (!unchanged()) {
    ::unlink(stagingName.constData());
    return ReplaceResult::ChangedMeanwhile;
  }
  if (::rename(stagingName.constData(), targetName.constData()) != 0) return fail(errno);
  SyncFolderToDisk(QFileInfo(target).absolutePath());
  if (written != nullptr) {
    // The rename moves the change time; when someone replaced the file again at once, what was
    // put in place is still the staged file.
    const std::optional<FileVersion> now = VersionOfFile(target);
    *written = now && now->inode == staged->inode && now->device == staged->device ? *now : *staged;
  }
  return ReplaceResult::Replaced;
}

}  // namespace platform
