#pragma once
// Moving prepared files and folders into place as one undoable step, where a kill at any moment
// leaves each target name holding its old entry or its new one, whole. A prepared entry that meets
// nothing takes its place with a rename that never replaces anything; one that meets an entry of
// its own kind (a file for a file, a folder for a folder) is exchanged with it atomically, so the
// old entry moves to where the prepared one was and can be put back.
// File systems without the atomic exchange (FUSE mounts, some network file systems) get this
// instead: the old entry is first kept beside its target under a temporary name of the kind Keep
// (a hard link to an old file, so the target name never goes missing; a rename where hard links
// are refused or for a folder), then the prepared entry is renamed over the target. The kept entry
// lies outside the private folder, so a start after a kill finds it and ends the move
// (RemoveStaleTemporaryFiles: put back while the target name is free, removed once the new entry
// holds it).
// Until commit() (or on rollback()), every move can be undone in reverse order, leaving the
// destination exactly as it was. Both places must lie on one file system (prepare in a
// PrivateFolder inside the destination).

#include <QString>

#include <functional>
#include <vector>

namespace platform {

class EntrySwap {
 public:
  EntrySwap() = default;
  ~EntrySwap();  // rolls back what was not committed
  EntrySwap(const EntrySwap&) = delete;
  EntrySwap& operator=(const EntrySwap&) = delete;

  // Puts `prepared` at `target`. Refused (false, nothing moved) when the target is an entry of the
  // other kind: a folder never replaces a file, nor a file a folder. *reason says why.
  bool move(const QString& prepared, const QString& target, QString* reason = nullptr);
  // Undoes every move not yet committed, newest first.
  void rollback();
  // Keeps the moves; the old entries go to where the prepared ones were (for their folder to
  // remove).
  void commit();

 private:
  enum class Way { Created, Exchanged, Kept };
  struct Move {
    QByteArray prepared;
    QByteArray target;
    Way way;
    QByteArray kept;  // Way::Kept: the old entry's name beside the target
    bool folder;
  };

  std::vector<Move> moves_;
};

// For tests: the file-system calls of a move, so that a test can play a file system without the
// atomic exchange or without hard links, and end the process before any one call.
enum class MoveCall { Exchange, Link, Rename, Unlink, RemoveFolder };
// Called before each call; returning false makes the call fail as a file system that lacks it
// (EINVAL for the exchange, EPERM for a link) or refuses it (EIO). Empty: no seam.
void SetMoveCallSeamForTesting(std::function<bool(MoveCall)> seam);

}  // namespace platform
