#pragma once
// What the open library file looked like when the program last read or wrote it: its version
// (size, modification and change time, file identity) and a digest of its bytes. Before a kill
// rewrites the library, and once more immediately before the rename that replaces it, the stamp
// tells whether someone else changed the file meanwhile (an editor rewrote it, a download or `mv`
// replaced it, another program wrote it), so the kill does not overwrite that change with the
// table it loaded earlier.

#include "platform/files/safe_read.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QCryptographicHash>
#include <QString>

// The digest of a library file's bytes, taken a block at a time while the file is read.
class LibraryDigest {
 public:
  void add(QByteArrayView bytes) { hash_.addData(bytes); }
  QByteArray result() const { return hash_.result(); }

 private:
  QCryptographicHash hash_{QCryptographicHash::Sha256};
};

// Notes the library file as read or written: its version then and the digest of its bytes.
void RememberLibraryFile(const platform::FileVersion& version, const QByteArray& digest);
// Forgets the stamp: no library file is known (a missing file, a refused library).
void ForgetLibraryFile();

// True when the file at path is no longer what was last remembered: other bytes, or it is gone
// or no longer a regular file. A file that was only touched (the same bytes) counts as unchanged;
// its new version is remembered. False while nothing is remembered.
bool LibraryFileChanged(const QString& path);
