#include "platform/files/entry_swap.h"

#include "platform/files/disk_sync.h"

#include <QFile>

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>

namespace platform {
namespace {

void SetReason(QString* reason, const QString& text) {
  if (reason != nullptr) *reason = text;
}

// Exchanges two entries atomically. File systems without the exchange get two renames through a
// third name beside the prepared entry: for a moment the target is missing, never half written.
bool Exchange(const QByteArray& prepared, const QByteArray& target) {
  if (::renameat2(AT_FDCWD, prepared.constData(), AT_FDCWD, target.constData(), RENAME_EXCHANGE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  const QByteArray aside = prepared + ".old";
  if (::rename(target.constData(), aside.constData()) != 0) return false;
  if (::rename(prepared.constData(), target.constData()) != 0) {
    const int error = errno;
    static_cast<void>(::rename(aside.constData(), target.constData()));
    errno = error;
    return false;
  }
  return ::rename(aside.constData(), prepared.constData()) == 0;
}

// Renames without replacing anything; file systems without that guarantee get a plain rename
// after a check (the folder is the program's own, so nothing else puts an entry there meanwhile).
bool RenameNew(const QByteArray& prepared, const QByteArray& target) {
  if (::renameat2(AT_FDCWD, prepared.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  struct stat existing {};
  if (::lstat(target.constData(), &existing) == 0) {
    errno = EEXIST;
    return false;
  }
  return ::rename(prepared.constData(), target.constData()) == 0;
}

}  // namespace

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
  if (exists && S_ISDIR(newEntry.st_mode) != S_ISDIR(oldEntry.st_mode)) {
    SetReason(reason, SystemErrorText(S_ISDIR(oldEntry.st_mode) ? EISDIR : ENOTDIR));
    return false;
  }
  const bool moved = exists ? Exchange(from, to) : RenameNew(from, to);
  if (!moved) {
    SetReason(reason, SystemErrorText(errno));
    return false;
  }
  moves_.push_back({from, to, exists});
  return true;
}

void EntrySwap::rollback() {
  for (auto move = moves_.rbegin(); move != moves_.rend(); ++move) {
    if (move->exchanged) {
      static_cast<void>(Exchange(move->prepared, move->target));
    } else {
      static_cast<void>(::rename(move->target.constData(), move->prepared.constData()));
    }
  }
  moves_.clear();
}

}  // namespace platform
