#pragma once
// Reading files without ever blocking the program. Only a regular file is read: a FIFO, a device,
// a socket or a folder put where a settings file, a language file or a library is expected reads
// as a missing file. The type is checked before opening, the open itself never waits
// (O_NONBLOCK), and the open file's type is checked again, so a file swapped in between is caught.
// Every reader of the program goes through here.

#include "platform/files/file_descriptor.h"

#include <QByteArray>
#include <QFile>
#include <QString>

namespace platform {

enum class ReadStatus {
  Ok,       // a regular file, opened (and, for ReadRegularFile, read whole)
  Missing,  // no file there, or something that is not a regular file
  Failed,   // a regular file that cannot be opened or read (permissions, I/O error)
};

// True when path names a regular file (symbolic links followed). Never blocks.
bool IsRegularFile(const QString& path);

// Opens a regular file for reading; an invalid descriptor with the status otherwise.
FileDescriptor OpenRegularFile(const QString& path, ReadStatus& status);

// Opens a regular file for reading into `file` (which then owns the descriptor), for readers
// that stream from a QIODevice; false, with `file` closed, otherwise.
bool OpenRegularFile(const QString& path, QFile& file);

// Reads a whole regular file into bytes (left empty unless the status is Ok). When the status is
// not Ok and reason is given, it says why in the system's words.
ReadStatus ReadRegularFile(const QString& path, QByteArray& bytes, QString* reason = nullptr);

}  // namespace platform
