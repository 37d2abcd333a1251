#pragma once
// The one way the program writes a file: the new content goes into a temporary file in the same
// folder, every write, then fsync are checked, and only then is the temporary file renamed over
// the old one. On any error the temporary file is removed and the old file stays whole, byte for
// byte. A full disk, a quota or an I/O error is therefore reported as a failure, never as a
// success that left a truncated or empty file behind (a buffered write can "succeed" and lose its
// data at the final flush).

#include <QByteArrayView>
#include <QByteArray>
#include <QString>

#include <sys/stat.h>

namespace platform {

// Replaces the file at path with bytes, as above. A symbolic link is followed (its target is
// replaced, the link stays). The file keeps its permission bits; a new file gets the usual ones
// (0666 less the umask). Refused: a path whose existing file is not a regular file (a folder, a
// FIFO, a device) or is not writable. Returns false on failure with the system's reason in
// *reason when given.
bool WriteFileAtomically(const QString& path, QByteArrayView bytes, QString* reason = nullptr);

// The file a write to path replaces: the target of a symbolic link, so the link survives the
// rename (a dangling link names the file to create); any other path as it stands.
QString ResolvedWriteTarget(const QString& path);

// The first half of a write: a new temporary file beside `target` (one of the program's own
// temporary names, made for the target's name) holding bytes, with the permission bits of *old
// when given, every write and the fsync checked. Returns its name as the system names it; empty
// (nothing left behind) with the reason in *reason when it fails. The caller renames it over the
// target or removes it.
QByteArray WriteBesideTarget(const QString& target, QByteArrayView bytes, const struct stat* old, QString* reason);

// Whether the file a write replaces (named as the system names it) may be replaced: true when it
// is missing or a writable regular file. *exists tells which, and *old holds its status when it
// exists; otherwise false with the reason in *reason when given.
bool CheckWriteTarget(const QByteArray& targetName, struct stat* old, bool* exists, QString* reason);

}  // namespace platform
