#pragma once
// The names the program gives its own temporary files and folders: hidden, and carrying the id of
// the process that made them, ".<name>.<pid>.<kind>-<random>". A program that dies (killed, a
// crash, the power) leaves them behind; the next start finds them by this pattern alone and removes
// those whose process no longer runs (RemoveStaleTemporaryFiles). Nothing else in a folder ever
// matches, so a learner's own hidden files are never touched.

#include <QString>

#include <optional>

namespace platform {

enum class TemporaryKind {
  Write,     // "tmp": a file being replaced atomically (WriteFileAtomically)
  Download,  // "download": a file being fetched (URL download)
  Unpack,    // "unpack": a private folder a download is fetched and unpacked into
};

// The stem of a new temporary name for `baseName` in this process: ".<baseName>.<pid>.<kind>-";
// the caller appends six or more random letters or digits (mkstemp's "XXXXXX" included).
QString TemporaryNameStem(const QString& baseName, TemporaryKind kind);

struct TemporaryName {
  TemporaryKind kind;
  long long pid;
};

// The kind and the process id of a name made from TemporaryNameStem; nothing for any other name.
std::optional<TemporaryName> ParseTemporaryName(const QString& fileName);

// True when the process `pid` is still running as one of this program's executables (any program
// started from the same folder as this one), so that its temporary files are in use. A process id
// of another program, or of none, owns nothing of ours.
bool OwnProcessIsRunning(long long pid);

// Removes, in each folder given, the temporary files and folders of the pattern above whose
// process is gone. Only the folder itself is searched (not its subfolders); a folder that does not
// exist or cannot be read is passed over. Returns how many entries were removed.
int RemoveStaleTemporaryFiles(const QStringList& folders);

}  // namespace platform
