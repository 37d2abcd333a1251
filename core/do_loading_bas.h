#pragma once
// The word library file (.abc): UTF-16LE text behind the byte-order mark FF FE, one stored line
// per entry, line 0 the header "{" + word language + meaning language + "}" (optionally "#").
// LoadWordLibrary fills the library tables of vars_bas.h from the open library, SaveWordLibrary
// writes the raw line table back, and the two probes read the header of any library file.

#include "platform/files/safe_read.h"

#include <QString>

#include <cstdint>

// Line indices are 16-bit: a library holds at most this many stored lines (indices 0 to 32,767).
inline constexpr int kMaxLibraryLines = 32768;
// The group table holds at most this many groups (g_Groups[1] to g_Groups[1000]).
inline constexpr int kMaxWordGroups = 1000;

// Set when the loader refused the open library: the tables then hold an empty library, and
// writing them would wipe the learner's file.
inline bool g_LibraryRefused = false;

// Reads the library at g_LibraryPath into g_WordLines, g_LineCount, g_LineCountCopy, g_Groups,
// g_GroupCount, g_GroupName, g_SourceLang and g_TargetLang. Group headers are told by
// g_GroupSymbolStart and g_GroupSymbolEnd, which must be set before.
// A missing, empty or unreadable file loads as an empty library (g_LineCount = g_LineCountCopy = 0,
// g_WordLines[0] empty, no groups) without a message. The file is read a block at a time and its
// lines are counted as they come: a library beyond kMaxLibraryLines lines or kMaxWordGroups
// groups is refused as soon as the limit is passed, without reading the rest. A folder, a FIFO or
// a device at the path is refused without being opened. A refused library is told in a message,
// loads as an empty library and is never written by SaveWordLibrary. Returns true when the
// library was loaded (an empty or missing file counts).
// g_Groups always has kMaxWordGroups + 1 rows afterwards; rows above g_GroupCount are empty.
bool LoadWordLibrary();

enum class LibraryLoad {
  Loaded,        // the tables hold the library (or an empty one, for a missing file)
  Refused,       // beyond the limits, or not a file: told, and the tables are empty
  BeingChanged,  // another program is still writing it: nothing changed, nothing told
};

// Reads the library again as LoadWordLibrary does, for a kill that is about to rewrite it. The
// kernel is asked first whether another program holds the file open for writing; while one does,
// nothing is read. Otherwise the read is taken only when no program opened the file for writing
// during it (the kernel's read lease says so) and, for a file changed less than 200 ms before,
// nothing changed it in the 200 ms after (a sync replacing it by renames holds no file open).
// Where the kernel cannot tell (FUSE, network file systems, another owner's file), the file must
// read whole and stay unchanged for a second and a half after the read instead. Until then it
// waits, keeping the windows painting, and reads again; after four seconds it gives up with
// BeingChanged, leaving the tables as they were.
LibraryLoad ReloadSettledWordLibrary();

enum class LibrarySave {
  Saved,           // the file holds the tables
  ChangedOutside,  // someone else changed the file since it was read: it was left as it is
  Failed,          // told in a message (or the library was refused); the file is whole
};

// Writes g_WordLines[0] to g_WordLines[g_LineCountCopy] to g_LibraryPath: FF FE, the non-empty
// lines joined by CR LF in UTF-16LE, then one zero byte. The file is replaced atomically, and only
// when it is still what the program last read or wrote and no other program holds it open for
// writing, both checked again immediately before the rename: a change by another program is never
// overwritten, nor a file another program is still writing (ChangedOutside, no message). A failed
// save leaves the old file whole; the failure is shown in a message box naming the file and the
// tables keep the change. A library that the loader refused is never written (Failed without a
// further message).
LibrarySave SaveWordLibrary();

// The first two characters inside the first pair of braces of a library file; empty when the file
// has no closed brace pair (or cannot be read). Changes no global.
QString ReadLibraryHeader(const QString& path);

// True when the first "}" of a library file is followed at once by "#". Changes no global.
bool LibraryHasHashAfterHeader(const QString& path);

// Texts of the loader's and writer's messages, built in one place so that the language files can
// take them over.
QString LibraryTooManyLinesMessage(const QString& path);
QString LibraryTooManyGroupsMessage(const QString& path);
QString LibrarySaveFailedMessage(const QString& path, const QString& reason);
// A library path that names a folder, a FIFO, a device or a socket, named with what it is.
QString LibraryNotAFileMessage(const QString& path, platform::EntryKind kind);
