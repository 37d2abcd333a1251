#pragma once
// Unpacking a zip archive into a folder, safely and within limits. Every entry must land inside
// that folder: an entry with an absolute name, a drive letter or a ".." step makes the whole
// archive refused before anything is written; symbolic and hard links (and devices, FIFOs) are
// skipped. An entry never replaces anything already in the folder: a second file of the same name
// makes the archive refused. Nothing in an archive is trusted for size: the entry count, the total
// unpacked size and its ratio to the archive's size are checked against the limits before any
// byte is written (from the sizes the archive declares) and again while writing (from the bytes
// that really come out); the entry count even before the archive library reads the directory
// (zip_directory_probe.h). An entry the archive library flags as damaged (sizes or checksums that
// disagree) refuses the archive as damaged, with the library's words. Entry names stored without
// the UTF-8 flag are read as GBK (code page 936), the code page the archives were made on.

#include <QString>

#include <cstdint>
#include <functional>

namespace platform {

enum class UnpackResult {
  Unpacked,        // every file and folder written
  CannotOpen,      // not a readable zip archive
  UnsafeEntry,     // an entry would land outside the folder; nothing written
  BadName,         // an entry name that cannot be decoded; nothing written
  DuplicateEntry,  // two wanted files of one name, or a file where a folder is (or is already there)
  Damaged,         // the archive broke off or its data does not match its checksums
  TooManyEntries,  // more entries than the limit
  TooLarge,        // more unpacked bytes than the limit
  RatioTooHigh,    // unpacks to more than the limit's multiple of its own size
  DiskFull,        // the file system ran out of space (or quota)
  WriteFailed,     // a file or folder could not be written for another reason
  Cancelled,       // the progress handler asked to stop
};

struct UnpackLimits {
  std::int64_t maxTotalBytes = std::int64_t{1} << 30;  // 1 GiB
  int maxEntries = 10000;
  std::int64_t maxRatio = 100;  // unpacked bytes per byte of archive
};

// Called often while unpacking (after each entry, every megabyte, every thousand headers):
// bytes written so far and the total the archive declares. Returning false stops the unpacking.
using UnpackProgress = std::function<bool(std::int64_t written, std::int64_t declaredTotal)>;

struct UnpackOutcome {
  UnpackResult result = UnpackResult::CannotOpen;
  // The system's words for DiskFull and WriteFailed, libarchive's for Damaged, the entry's name for
  // UnsafeEntry and DuplicateEntry.
  QString reason;
  bool ok() const { return result == UnpackResult::Unpacked; }
};

// Which entries are written, by the first step of their name ("Lib.JPG" for "Lib.JPG/00.jpg").
// Entries passed over are still checked (names, limits) but never written, so they cannot clash.
using UnpackFilter = std::function<bool(const QString& firstStep)>;

// Unpacks every file and folder of the archive (only the wanted ones, when `wanted` is given) into
// `folder` (which must exist); each file is on disk (fsync) before the call returns. After a failure
// the folder may hold part of the archive: unpack into a private folder and move the result into
// place only when it succeeded.
UnpackOutcome UnpackZipArchive(const QString& archivePath, const QString& folder, const UnpackLimits& limits = {},
                               const UnpackProgress& progress = {}, const UnpackFilter& wanted = {});

// The same with the default limits and no progress, for callers that need only the result.
UnpackResult UnpackZip(const QString& archivePath, const QString& folder);

}  // namespace platform
