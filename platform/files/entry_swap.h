#pragma once
// Moving prepared files and folders into place, each by one atomic rename, as one undoable step.
// A prepared entry that meets nothing takes its place with a rename that never replaces anything;
// one that meets an entry of its own kind (a file for a file, a folder for a folder) is exchanged
// with it atomically, so the old entry moves to where the prepared one was and can be put back.
// Until commit() (or on rollback()), every move can be undone in reverse order, leaving the
// destination exactly as it was. Both places must lie on one file system (prepare in a
// PrivateFolder inside the destination).

#include <QString>

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
  // Keeps the moves; the old entries stay where the prepared ones were (for their folder to remove).
  void commit() { moves_.clear(); }

 private:
  struct Move {
    QByteArray prepared;
    QByteArray target;
    bool exchanged;
  };
  std::vector<Move> moves_;
};

}  // namespace platform
