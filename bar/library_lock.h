#pragma once
// One word bar per library. Two bars on one library each write their own table back at every
// kill, so each would wipe the other's marks. A lock file beside the library (".<name>.abc.lock")
// holds it for the bar that opened it; a bar that ended without unlocking (a crash, a kill -9)
// leaves a lock that names a process no longer running, which the next start takes over.
// Bars on different libraries run side by side.

#include <QString>

// The lock file of the library at libraryPath. A library name too long for ".<name>.lock" to fit
// the file system gets its start and a digest of the whole name instead, so it is locked too.
QString LibraryLockPath(const QString& libraryPath);

enum class LibraryLock {
  Held,          // this program holds the library now
  HeldElsewhere, // another running bar holds it
  Unavailable,   // no lock file can be made there (a read-only folder, a full disk): open unlocked
};

// Takes the library at libraryPath for this program, giving up any library held before.
LibraryLock LockLibrary(const QString& libraryPath);
// Gives the library up (the bar unloads).
void UnlockLibrary();
