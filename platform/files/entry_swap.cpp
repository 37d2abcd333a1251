#include "platform/files/entry_swap.h"

#include "platform/files/disk_sync.h"
#include "platform/files/own_temporary_names.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

std::function<bool(MoveCall)>& Seam() {
  static std::function<bool(MoveCall)> seam;
  return seam;
}

bool Allowed(MoveCall call, int refusal) {
  if (!Seam() || Seam()(call)) return true;
  errno = refusal;
  return false;
}

bool CallExchange(const QByteArray& from, const QByteArray& to) {
  return Allowed(MoveCall::Exchange, EINVAL) &&
         ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_EXCHANGE) == 0;
}
bool CallRenameNoReplace(const QByteArray& from, const QByteArray& to) {
  return Allowed(MoveCall::Rename, EIO) &&
         ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0;
}
bool CallLink(const QByteArray& from, const QByteArray& to) {
  return Allowed(MoveCall::Link, EPERM) && ::link(from.constData(), to.constData()) == 0;
}
bool CallRename(const QByteArray& from, const QByteArray& to) {
  return Allowed(MoveCall::Rename, EIO) && ::rename(from.constData(), to.constData()) == 0;
}
bool CallRemove(const QByteArray& path, bool folder) {
  if (!folder) return Allowed(MoveCall::Unlink, EIO) && ::unlink(path.constData()) == 0;
  if (!Allowed(MoveCall::RemoveFolder, EIO)) return false;
  std::error_code error;
  std::filesystem::remove_all(std::filesystem::path(path.toStdString()), error);
  return !error;
}

bool Unsupported(int error) { return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP; }
// A file system that has no hard links (FAT, some network file systems) or refuses this one.
bool NoHardLink(int error) { return error == EPERM || error == EOPNOTSUPP || error == ENOSYS || error == EMLINK; }

void SetReason(QString* reason, const QString& text) {
  if (reason != nullptr) *reason = text;
}

// Renames without replacing anything; file systems without that guarantee get a plain rename
// after a check (the folder is the program's own, so nothing else puts an entry there meanwhile).
bool RenameNew(const QByteArray& prepared, const QByteArray& target) {
  if (CallRenameNoReplace(prepared, target)) return true;
  if (!Unsupported(errno)) return false;
  struct stat existing {};
  if (::lstat(target.constData(), &existing) == 0) {
    errno = EEXIST;
    return false;
  }
  return CallRename(prepared, target);
}

// Where the old entry of `target` is kept while it is replaced: beside it, under a new name.
QByteArray KeptName(const QByteArray& target) {
  const qsizetype slash = target.lastIndexOf('/');
  return target.left(slash + 1) +
         QFile::encodeName(NewTemporaryName(QFile::decodeName(target.mid(slash + 1)), TemporaryKind::Keep));
}

// Replaces `target` where the file system has no atomic exchange; `kept` names the old entry after.
bool ReplaceKeepingOld(const QByteArray& prepared, const QByteArray& target, bool folder, QByteArray& kept) {
  bool linked = false;
  bool keptAside = false;
  for (int attempt = 0; attempt < 16 && !linked && !keptAside; ++attempt) {
    kept = KeptName(target);
    struct stat existing {};
    if (::lstat(kept.constData(), &existing) == 0) continue;
    // A file keeps its name while a second name holds the old content; the one rename that
    // follows replaces it whole. A folder cannot be linked: it is renamed aside, and a kill before
    // the next rename leaves it for the next start to put back.
    if (!folder) {
      linked = CallLink(target, kept);
      if (linked) break;
      if (errno == EEXIST) continue;
      if (!NoHardLink(errno)) return false;
    }
    keptAside = CallRename(target, kept);
    if (!keptAside) return false;
  }
  if (!linked && !keptAside) {
    errno = EEXIST;
    return false;
  }
  if (CallRename(prepared, target)) return true;
  const int error = errno;
  static_cast<void>(linked ? CallRemove(kept, false) : CallRename(kept, target));
  errno = error;
  return false;
}

}  // namespace

void SetMoveCallSeamForTesting(std::function<bool(MoveCall)> seam) { Seam() = std::move(seam); }

EntrySwap::~EntrySwap() { rollback(); }

bool EntrySwap::move(const QString& prepared, const QString& target, QString* reason) {
  const QByteArray from = QFile::encodeName(prepared);
  const QByteArray to = QFile::encodeName(target);
  struct stat newEntry {};
  struct stat oldEntry {};
  if (::lstat(from.constData(), &newEntry) != 0) {
    SetReason(reason, SystemErrorText(errno));
    return false;
  }
  const bool exists = ::lstat(to.constData(), &oldEntry) == 0;
  const bool folder = S_ISDIR(newEntry.st_mode);
  if (exists && folder != S_ISDIR(oldEntry.st_mode)) {
    SetReason(reason, SystemErrorText(S_ISDIR(oldEntry.st_mode) ? EISDIR : ENOTDIR));
    return false;
  }
  Move done{from, to, Way::Created, {}, folder};
  bool moved = false;
  if (!exists) {
    moved = RenameNew(from, to);
  } else if (CallExchange(from, to)) {
    done.way = Way::Exchanged;
    moved = true;
  } else if (Unsupported(errno)) {
    done.way = Way::Kept;
    moved = ReplaceKeepingOld(from, to, folder, done.kept);
  }
  if (!moved) {
    SetReason(reason, SystemErrorText(errno));
    return false;
  }
  moves_.push_back(std::move(done));
  return true;
}

void EntrySwap::commit() {
  for (const Move& move : moves_) {
    if (move.way != Way::Kept) continue;
    if (!CallRename(move.kept, move.prepared)) static_cast<void>(CallRemove(move.kept, move.folder));
  }
  moves_.clear();
}

void EntrySwap::rollback() {
  for (auto move = moves_.rbegin(); move != moves_.rend(); ++move) {
    switch (move->way) {
      case Way::Exchanged:
        static_cast<void>(CallExchange(move->prepared, move->target));
        break;
      case Way::Created:
        static_cast<void>(CallRename(move->target, move->prepared));
        break;
      case Way::Kept:
        // The new entry goes back to where it was prepared (a second name first, so the target
        // stays whole), then the old one back over its name.
        if ((!move->folder && CallLink(move->target, move->prepared)) || CallRename(move->target, move->prepared)) {
          static_cast<void>(CallRename(move->kept, move->target));
        }
        break;
    }
  }
  moves_.clear();
}

}  // namespace platform
