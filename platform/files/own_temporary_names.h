#pragma once
// The names the program gives its own temporary files and folders, and the start-up removal of
// those an earlier run left behind. A name is hidden and carries the program's own marker, the id
// of the process that made it, its kind and a random part of exactly twelve letters and digits:
// ".<name>.lexorn2-<pid>.<kind>-<random>". A program that dies (killed, a crash, the power) leaves
// them behind; the next start removes one only when all of this holds:
// - the whole name parses, with a process id the system can give (1 to its pid_max),
// - the entry is of the kind its name says (a regular file, a private folder laid out as the
//   download lays it out, or an old entry kept aside while it was replaced),
// - it belongs to the user running the program,
// - no process of that id runs at all (a second copy of the program installed elsewhere may share
//   a library folder, and a process that cannot be asked is counted as running),
// - the caller's scope names it as one the program writes into that folder.
// Names of any other shape (an older release's, a learner's look-alike) are never touched.

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace platform {

enum class TemporaryKind {
  Write,     // "tmp": a file being replaced atomically (WriteFileAtomically)
  Download,  // "download": a file being fetched (URL download, the updaters)
  Unpack,    // "unpack": a private folder a download is fetched and unpacked into (PrivateFolder)
  Keep,      // "keep": the old entry beside its name while a move replaces it (EntrySwap)
};

// A new temporary name for `baseName` in this process, random part included. Creating it can
// still meet an entry of that name: create with O_EXCL (or mkdir) and try a fresh name on EEXIST.
QString NewTemporaryName(const QString& baseName, TemporaryKind kind);

struct TemporaryName {
  // The name of the file or folder the temporary one stands in for; only its start while
  // `cutDigest` is set (see ResolveCutBaseName).
  QString baseName;
  TemporaryKind kind;
  long long pid;
  QString cutDigest;  // set when the base name was cut to fit: the digest of the whole name

  // True when this temporary name was made for an entry named `base`.
  bool standsFor(const QString& base) const;
};

// The parts of a name made by NewTemporaryName; nothing for any other name.
std::optional<TemporaryName> ParseTemporaryName(const QString& fileName);

// Completes the base name of a name that was cut to fit, from the names `candidates` (the entries
// of its folder, the names a journal gives): true when one of them is the one it was made for,
// which then becomes its base name. A name that was not cut is left as it is (true).
bool ResolveCutBaseName(TemporaryName& name, const QStringList& candidates);

// `name` itself when its UTF-8 takes at most `bytes` bytes; else its start, cut at a whole
// character, followed by "~" and a digest of the whole name, in at most that room. A fixed name
// derived from a learner's file name (the lock beside a library) fits the file system this way and
// comes out the same in every process, while two long names that share their start stay apart.
QString NameFittedTo(const QString& name, qsizetype bytes);

// The base name of the program's private folders ("download").
QString PrivateFolderBaseName();

// True while any process of this id runs, whatever program it is and whoever owns it.
bool ProcessIsRunning(long long pid);

// One folder the program writes temporaries into, and which of them it may have left there.
struct TemporaryScope {
  QString folder;
  std::function<bool(const TemporaryName&)> isCandidate;
};

// In each scope's folder (not its subfolders; a folder that does not exist or cannot be read is
// passed over), removes the stale temporary files and private folders described above, and ends
// a replacement a dead process left half done. A private folder holding a replacement's journal is
// settled by the journal first (entry_swap.h: rolled back or forward whole), before any other
// entry of any folder is looked at; only then goes the folder (a journal that cannot be followed
// keeps the folder, and every entry its process kept aside). An old entry kept aside that no
// journal names (its replacement's folder is gone) is put back when its name is free, and removed
// when the new entry holds the name; a scope always counts kept entries as its own, whatever else
// it takes. A folder may appear in several scopes. Returns how many entries were removed or put
// back.
int RemoveStaleTemporaryFiles(const std::vector<TemporaryScope>& scopes);

}  // namespace platform
