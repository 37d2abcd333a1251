#pragma once
// Reading files without ever blocking the program. Only a regular file is read: a FIFO, a device,
// a socket or a folder put where a settings file, a language file or a library is expected reads
// as a missing file. The type is checked before opening, the open itself never waits
// (O_NONBLOCK), and the open file's type is checked again, so a file swapped in between is caught.
// Every reader of the program goes through here.
//
// A file that another program may be writing at the same moment (the open word library, which
// the learner can edit while the bar runs) is read block by block with its version taken before
// and after: only a read during which nothing changed the file counts as whole.

#include "platform/files/file_descriptor.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

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

// What a path names (symbolic links followed), told without opening it.
enum class EntryKind { Missing, RegularFile, Folder, Fifo, CharacterDevice, BlockDevice, Socket, Other };
EntryKind KindOfEntry(const QString& path);

// What any write to a regular file, or its replacement by another, moves.
struct FileVersion {
  std::int64_t size = -1;
  std::int64_t modifiedNs = 0;  // modification time, nanoseconds since the epoch
  std::int64_t changedNs = 0;   // status change time (a rename or a chmod moves it too)
  std::uint64_t inode = 0;
  std::uint64_t device = 0;
  bool operator==(const FileVersion&) const = default;
};

// The version of the regular file at path; nothing when there is none (or not a regular file).
std::optional<FileVersion> VersionOfFile(const QString& path);

// How long ago the file of `version` was last written or moved, by the system's clock; negative
// when its time lies ahead (a file server with another clock).
std::chrono::nanoseconds SinceLastChange(const FileVersion& version);

// Receives a file's bytes in order, a block at a time; returns false to stop the read there.
using BlockReceiver = std::function<bool(QByteArrayView block)>;

// Waits the given time. The window thread passes one that keeps its windows painting.
using Pause = std::function<void(std::chrono::nanoseconds)>;

enum class StreamStatus {
  Whole,     // read to its end, and nothing changed the file meanwhile (see StreamRegularFile)
  Stopped,   // the receiver stopped the read; the rest was not read
  Changing,  // the file changed during the read, was replaced, or is still being written
  Missing,   // as ReadStatus::Missing
  Failed,    // as ReadStatus::Failed
};

// Reads a regular file block by block into `receive`. The read is Whole only when the file had
// the same version before and after it, every byte of that size was read, and the path still
// names that file. With a quiet period, the file is watched that long after the read and must
// not change meanwhile: a program that writes a file in place in steps leaves a whole-looking
// half between two steps, and only a period longer than its pauses tells it from a finished file
// (see read_lease.h for what tells it for sure). *version is the file's version when the read
// began (Whole, Stopped, Changing). The watch waits through `pause` (sleeping when none is given).
StreamStatus StreamRegularFile(const QString& path, const BlockReceiver& receive,
                               std::chrono::milliseconds quietPeriod = std::chrono::milliseconds(0),
                               FileVersion* version = nullptr, const Pause& pause = {});

// Reads a whole regular file into bytes (left empty unless the status is Ok). When the status is
// not Ok and reason is given, it says why in the system's words.
ReadStatus ReadRegularFile(const QString& path, QByteArray& bytes, QString* reason = nullptr);

}  // namespace platform
