#pragma once
// Which files a catalogue item brings and owns. An item is named by its TO_FILENAME: a word
// library ("Lib.abc"), an archive ("Lib.zip") or the first file of a multi-part set
// ("Lib.part1.zip", further parts "Lib.part2.zip" ...). The library it holds is "<name>.abc", and
// the item owns only the entries named after that library: "<name>.abc", "<name>.ini",
// "<name>.JPG" (pictures), "<name>.dic" (dictionary) and so on, plus the files it downloaded. Any
// other entry of an archive is passed over, so a download never changes another library.

#include <QString>

// The library name of an archive item: the file name before its first ".zip", without a ".part1"
// ending ("Lib.part1.zip" gives "Lib").
QString ArchiveLibraryName(const QString& toFileName);

// The name of part `part` of a multi-part set: every ".part1" replaced by ".part<part>".
QString PartName(const QString& text, int part);

// True when an archive's top-level entry belongs to the library `libraryName`: its name is the
// library name, a dot and at least one more character.
bool IsOwnEntryName(const QString& entryName, const QString& libraryName);

// True when the file reads as a word library: the byte-order mark FF FE, then, as the loader
// reads it (core/library_lines.h), a first stored line that is a header line "{..}".
bool ReadsAsWordLibrary(const QString& path);
