#include "bar/library_lock.h"

#include "platform/files/own_temporary_names.h"

#include <QFileInfo>
#include <QLockFile>

#include <memory>

namespace {

// The longest lock file name: a file system's 255 bytes, less the ".rmlock" QLockFile adds to it
// while it takes a stale lock away.
constexpr qsizetype kLongestLockName = 255 - 7;
const QString kLockPrefix = QStringLiteral(".");
const QString kLockSuffix = QStringLiteral(".lock");

std::unique_ptr<QLockFile>& HeldLock() {
  static std::unique_ptr<QLockFile> lock;
  return lock;
}

}  // namespace

QString LibraryLockPath(const QString& libraryPath) {
  const QFileInfo library(libraryPath);
  // A library whose own name nearly fills the file system's limit still gets a lock of its own.
  const QString name = platform::NameFittedTo(library.fileName(), kLongestLockName - kLockPrefix.size() - kLockSuffix.size());
  return library.absolutePath() + QLatin1Char('/') + kLockPrefix + name + kLockSuffix;
}

LibraryLock LockLibrary(const QString& libraryPath) {
  UnlockLibrary();
  auto lock = std::make_unique<QLockFile>(LibraryLockPath(libraryPath));
  // A bar holds its library for hours: only a lock whose process has ended is stale, never an old
  // one (the default would take a live bar's lock after 30 seconds).
  lock->setStaleLockTime(0);
  if (!lock->tryLock(0) && lock->error() == QLockFile::LockFailedError) {
    // A lock file that names no process (cut short by a crash while it was written) holds nothing.
    qint64 pid = 0;
    QString host;
    QString application;
    if (lock->getLockInfo(&pid, &host, &application)) return LibraryLock::HeldElsewhere;
    lock->removeStaleLockFile();
    if (!lock->tryLock(0) && lock->error() == QLockFile::LockFailedError) return LibraryLock::HeldElsewhere;
  }
  if (!lock->isLocked()) return LibraryLock::Unavailable;
  HeldLock() = std::move(lock);
  return LibraryLock::Held;
}

void UnlockLibrary() { HeldLock().reset(); }
