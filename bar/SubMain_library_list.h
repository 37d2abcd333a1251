#pragma once
// The library lists the first start brings together: the list in the profile folder (the one an
// installer prepares) and the program folder's own. A first start can come again after libraries
// were downloaded or added (a start afresh in another interface language, a new installation),
// and the list it installs then must not drop them: the list written is one list whole, followed
// by every library of the other list that it lacks. Entries are never removed from a library
// list (a deleted library keeps its section), so no library either list names is lost.

#include <QByteArray>
#include <QString>

namespace SubMain {

// The sections of the library list text `other` whose names (in any letter case) the list text
// `preferred` lacks, each with its lines as they stand, in their order; lines before the first
// section of `other` are not part of any library. Both texts are UTF-8.
QByteArray LibrarySectionsMissingFrom(const QByteArray& preferred, const QByteArray& other);

// Writes the list file `preferred` followed by the libraries of the list file `other` it lacks
// into `target` (one of the two), through the safe write path; nothing is written when `target`
// already holds that. A missing `other` adds nothing. A list in another encoding than UTF-8 is
// written back as UTF-8 when libraries are added to it, byte for byte otherwise. False, with the
// reason, when `preferred` or `other` cannot be read or `target` cannot be written; `target`
// then keeps its bytes.
bool WriteMergedLibraryList(const QString& preferred, const QString& other, const QString& target, QString& reason);

}  // namespace SubMain
