#pragma once
// The reader's archive mode: unpacks one zip archive into the folder it may write to, within the
// limits of platform/archive/zip_archive.h, and answers with the outcome.

namespace reader {

// Loads what unpacking needs later: the UTF-8 character set the entry names are converted to.
void PrepareArchiveMode();

}  // namespace reader
