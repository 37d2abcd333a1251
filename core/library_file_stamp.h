#pragma once
// What the open library file looked like when the program last read or wrote it: size, change
// time, file identity and a hash of its bytes. Before a kill rewrites the library, the stamp tells
// whether someone else changed the file meanwhile (an editor appended to it, a download or `mv`
// replaced it, another program wrote it), so the kill does not overwrite that change with the
// table it loaded earlier.

#include <QByteArray>
#include <QString>

// Notes the stamp of the file at path, whose content is bytes (just read or just written).
void RememberLibraryFile(const QString& path, const QByteArray& bytes);
// Forgets the stamp: no library file is known (a missing file, a refused library).
void ForgetLibraryFile();

// True when the file at path is no longer what was last remembered: a different size or
// content, or it is gone. A file that was only touched (same bytes) counts as unchanged. False
// while nothing is remembered.
bool LibraryFileChanged(const QString& path);
