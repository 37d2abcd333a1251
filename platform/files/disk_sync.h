#pragma once
// Writing to a file and putting what was written on disk, and the system's words for why
// something failed. A rename is
// durable only once its folder is synced, and a file's content only once the file is: the safe
// writer, the archive unpacking and the downloads' move into place all need the same two steps,
// and all report a failed system call to the learner in the same words.

#include <QByteArrayView>
#include <QString>

namespace platform {

// The system's text for an error number (errno), in the locale's language.
QString SystemErrorText(int error);

// Writes all of `bytes` to the open file `fd`, however the system splits the writes; false with
// the system's error number in `error` when a write fails (a full disk shows here).
bool WriteAll(int fd, QByteArrayView bytes, int& error);

// Syncs the file's data to disk; returns 0 when done, else the system's error number (a full disk
// or a failing device shows here on some file systems, after every write succeeded).
int SyncFileToDisk(const QString& path);

// Syncs a folder, so the renames and new entries in it survive a crash. A folder that refuses the
// sync changes nothing for the caller: the entries are complete either way.
void SyncFolderToDisk(const QString& folder);

}  // namespace platform
