#pragma once
// Unpacking a zip archive from a server into a folder, in the reader (platform/reader): the
// archive library never runs in the program's own process, so no archive can crash, freeze or
// swell the program. The reader unpacks safely and within limits: every entry must land inside the
// folder (an absolute name, a drive letter or a ".." step refuses the whole archive before
// anything is written); symbolic and hard links (and devices, FIFOs) are skipped; an entry never
// replaces anything already in the folder. Entries are counted, and unpacked bytes and their ratio
// to the archive's size measured, as the archive library delivers them, and the archive is refused
// at the first entry, byte or ratio over the limits. An entry the archive library flags as damaged
// refuses the archive as damaged, with the library's words. Entry names stored without the UTF-8
// flag are read as GBK (code page 936), the code page the archives were made on. A reader that met
// its memory or time limit, crashed or could not start refuses the archive with that cause.

#include "platform/reader/reader_process.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

namespace platform {

enum class UnpackResult {
  Unpacked,            // every file and folder written
  CannotOpen,          // not a readable zip archive
  UnsafeEntry,         // an entry would land outside the folder; nothing written
  BadName,             // an entry name that cannot be decoded; nothing written
  DuplicateEntry,      // two wanted files of one name, or a file where a folder is (or is already there)
  Damaged,             // the archive broke off or its data does not match its checksums
  TooManyEntries,      // more entries than the limit
  TooLarge,            // more unpacked bytes than the limit
  RatioTooHigh,        // unpacks to more than the limit's multiple of its own size
  DiskFull,            // the file system ran out of space (or quota)
  WriteFailed,         // a file or folder could not be written for another reason
  Cancelled,           // the caller asked to stop
  NeedsTooMuchMemory,  // the unpacking met the reader's memory limit
  TookTooLong,         // the unpacking used up the reader's CPU time or passed the deadline
  ReaderFailed,        // the reader crashed or ended without a complete answer
  ReaderMissing,       // the reader program is missing or could not be started
};

struct UnpackLimits {
  std::int64_t maxTotalBytes = std::int64_t{1} << 30;  // 1 GiB
  int maxEntries = 10000;
  std::int64_t maxRatio = 100;  // unpacked bytes per byte of archive
};

struct UnpackOutcome {
  UnpackResult result = UnpackResult::CannotOpen;
  // The system's words for DiskFull and WriteFailed, libarchive's for Damaged, the entry's name for
  // UnsafeEntry and DuplicateEntry, how the reader ended for ReaderFailed.
  QString reason;
  bool ok() const { return result == UnpackResult::Unpacked; }
};

// The outcome as the reader answers it, and back; nothing when the answer does not read.
QByteArray EncodeUnpackOutcome(const UnpackOutcome& outcome);
std::optional<UnpackOutcome> DecodeUnpackOutcome(const QByteArray& answer);

// The reader's bounds for one archive: 512 MiB of memory, a minute of CPU time (a 1 GiB archive
// unpacks in a few seconds), no file larger than the unpacked limit, five minutes in all.
reader::ReaderLimits ArchiveReaderLimits();

struct UnpackRequest {
  QString archivePath;
  QString folder;  // must exist; the only folder the reader may write into
  // Only the entries whose first name step begins with this text (and is longer) are written
  // ("Lib." writes "Lib.abc" and "Lib.JPG/00.jpg"); entries passed over are still checked (names,
  // limits) but never written, so they cannot clash. Empty: every entry.
  QString onlyBeginning;
  reader::ReaderLimits limits = ArchiveReaderLimits();
  // Bytes written so far and the total the archive declares.
  std::function<void(std::int64_t written, std::int64_t declaredTotal)> onProgress;
  // Asked while the reader works; true stops it (Cancelled).
  std::function<bool()> cancelled;
};

// Unpacks the archive in the reader. Each file is on disk (fsync) before the call returns. After a
// failure the folder may hold part of the archive: unpack into a private folder and move the
// result into place only when it succeeded.
UnpackOutcome UnpackZipArchive(const UnpackRequest& request);

}  // namespace platform
