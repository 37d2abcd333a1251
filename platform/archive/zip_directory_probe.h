#pragma once
// A look at a zip archive's central directory before the archive library reads it. The library
// takes in the whole directory, every entry in memory, before it hands out the first entry, so an
// archive of a million tiny entries costs seconds and hundreds of megabytes before any entry limit
// can be applied. The probe reads the end record (the classic one and the zip64 one it points to)
// from the archive's last 128 KiB, so a comment or stray bytes after it do not hide it, and refuses
// at once an archive whose record declares more entries than allowed, or a directory larger than
// its declared entries could fill. A record that looks harmless proves nothing: the directory it
// places (where the record says, and just before the record by its size, as archives with a
// program in front are read) is walked header by header, a few bytes each, in constant memory,
// until it ends or holds one entry more than allowed. Anything the probe cannot make sense of is
// left for the archive library to judge.

#include <QString>

namespace platform {

enum class ZipDirectoryVerdict {
  Fits,            // nothing here exceeds the limit (or there is no end record to judge)
  TooManyEntries,  // the record declares, or the directory holds, more entries than allowed
  Inconsistent,    // the directory is larger than the entries the record declares could fill
};

struct ZipDirectoryProbe {
  ZipDirectoryVerdict verdict = ZipDirectoryVerdict::Fits;
  QString reason;  // for Inconsistent: what does not match, in English like the archive library's words
};

ZipDirectoryProbe ProbeZipDirectory(const QString& archivePath, int maxEntries);

}  // namespace platform
