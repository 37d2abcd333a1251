#pragma once
// Moving an item's prepared files and folders into place as one transaction: after a kill at any
// moment, the next start leaves every entry of the set old or every entry new, each whole.
// The entries are prepared in a PrivateFolder inside the target folder (so one file system holds
// both). Before the first move, a journal (replace_journal.h) naming every entry, where its new
// one lies and where its old one will be kept, is put on disk in the private folder. Then each
// entry moves, the last one (the item's library) being the commit point:
// - an entry that meets nothing takes its name with a rename that never replaces anything;
// - one that meets an entry of its own kind (a file for a file, a folder for a folder) is exchanged
//   with it atomically, the old entry going to where the prepared one was;
// - where the file system has no atomic exchange (FUSE mounts, some network file systems), the old
//   entry is first kept beside its target under the name the journal gives it (a hard link to an
//   old file, so the name never goes missing; a rename where hard links are refused or for a
//   folder), then the prepared entry is renamed over the target.
// Each entry's state is read back from the disk alone (which of its three names exist, and whose
// inode the target holds), so the same steps finish or undo a set in this process and at the next
// start (RecoverEntrySwap), and running them again after a kill meets a state they know.

#include "platform/files/replace_journal.h"

#include <QString>

#include <functional>
#include <utility>
#include <vector>

namespace platform {

class EntrySwap {
 public:
  // `privateFolder` holds the prepared entries and gets the journal; its parent folder is the
  // target. Every entry of the set is named `item` or `item` and a dot and more.
  EntrySwap(QString privateFolder, QString item);
  ~EntrySwap();  // rolls back what was not finished
  EntrySwap(const EntrySwap&) = delete;
  EntrySwap& operator=(const EntrySwap&) = delete;

  // Puts every prepared entry (a path inside the private folder: "files/<name>" or
  // "downloads/<name>") at its name in the target folder, in this order, the last one being the
  // commit point. Refused before anything moves (false, *reason says why) when a target is an
  // entry of the other kind, a name is no entry of the item, or the journal cannot be put on disk;
  // a move the file system refuses undoes the moves before it (false).
  bool move(const std::vector<std::pair<QString, QString>>& preparedAndTarget, QString* reason = nullptr);
  // Undoes every move, newest first, and removes the journal. True when the set is old again.
  bool rollback();
  // Keeps the moves: the old entries kept beside their names go, then the journal; the old entries
  // exchanged into the private folder go with it.
  void finish();

 private:
  QString privateFolder_;
  QString item_;
  ReplaceJournal journal_;
  bool journalWritten_ = false;
};

// Ends the replacement a dead process `pid` left in `privateFolder`: no journal, or one cut short
// while it was written, means nothing moved. Otherwise the set is rolled back whole when its commit
// point had not moved, and forward whole when it had; then the journal goes. True when the private
// folder may be removed; false (nothing done with it) for a damaged journal or a step the file
// system refused, which the next start tries again.
bool RecoverEntrySwap(const QString& privateFolder, long long pid);

// For tests: the file-system calls of a replacement, so that a test can play a file system without
// the atomic exchange or without hard links, and end the process before any one call.
enum class MoveCall { Exchange, Link, Rename, Unlink, RemoveFolder, WriteJournal, RemoveJournal };
// Called before each call; returning false makes the call fail as a file system that lacks it
// (EINVAL for the exchange, EPERM for a link) or refuses it (EIO). Empty: no seam.
void SetMoveCallSeamForTesting(std::function<bool(MoveCall)> seam);

}  // namespace platform
