#pragma once
// Unpacking a zip archive into a folder, safely: every entry must land inside that folder. An
// entry with an absolute name, a drive letter or a ".." step makes the whole archive refused
// before anything is written; symbolic and hard links are skipped. Entry names stored without
// the UTF-8 flag are read as GBK (code page 936), the code page the archives were made on.

#include <QString>

namespace platform {

enum class UnpackResult {
  Unpacked,     // every file and folder written
  CannotOpen,   // not a readable zip archive
  UnsafeEntry,  // an entry would land outside the folder; nothing written
  BadName,      // an entry name that cannot be decoded; nothing written
  Damaged,      // the archive broke off or a file could not be written; some files may be written
};

// Unpacks every file and folder of the archive into `folder` (which must exist), replacing files
// of the same name.
UnpackResult UnpackZip(const QString& archivePath, const QString& folder);

}  // namespace platform
