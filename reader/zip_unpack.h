#pragma once
// Unpacking a zip archive inside the reader: what platform/archive/zip_archive.h promises, done
// with the archive library. Entries, unpacked bytes and their ratio to the archive's size are
// counted as the library delivers them: a first pass over the headers counts the entries and adds
// up the sizes they declare, refusing unsafe and undecodable names before anything is written; the
// second writes, counting the bytes that really come out.

#include "platform/archive/zip_archive.h"

#include <QString>

#include <cstdint>
#include <functional>

namespace reader {

// Called often while unpacking (after each entry, every megabyte, every thousand headers):
// bytes written so far and the total the archive declares. Returning false stops the unpacking.
using UnpackProgress = std::function<bool(std::int64_t written, std::int64_t declaredTotal)>;

// Which entries are written, by the first step of their name ("Lib.JPG" for "Lib.JPG/00.jpg").
using UnpackFilter = std::function<bool(const QString& firstStep)>;

// Unpacks every file and folder of the archive (only the wanted ones, when `wanted` is given) into
// `folder` (which must exist); each file is on disk (fsync) before the call returns. An allocation
// the archive library could not make ends as NeedsTooMuchMemory.
platform::UnpackOutcome UnpackZipArchive(const QString& archivePath, const QString& folder,
                                         const platform::UnpackLimits& limits = {},
                                         const UnpackProgress& progress = {}, const UnpackFilter& wanted = {});

}  // namespace reader
