#pragma once
// A file being written that takes its final name only when it is complete: the bytes go to a
// hidden temporary file in the destination's folder (named with this process's id, see
// own_temporary_names.h), their write-back starts as they come, and commit() flushes them to disk
// and renames the file over the destination. Destroyed without a commit, the temporary file is
// removed, so the
// destination keeps whatever it held before. A file that replaces another keeps its permission
// bits.

#include <QByteArray>

#include <cstddef>

namespace platform {

class PartialFile {
 public:
  // Opens the temporary file beside `destination` (its folder must exist and be writable).
  explicit PartialFile(const QByteArray& destination);
  ~PartialFile();
  PartialFile(const PartialFile&) = delete;
  PartialFile& operator=(const PartialFile&) = delete;

  bool isOpen() const { return fd_ >= 0; }
  // Appends bytes; false when the disk refused them (lastError() says why).
  bool write(const char* data, std::size_t size);
  // The system's error number of the last failed write or commit (ENOSPC for a full disk).
  int lastError() const { return lastError_; }
  // Syncs (unless told not to), closes and renames into place; false (and the temporary file
  // removed) on any failure. A caller that skips the sync must sync the file itself before it
  // relies on it.
  bool commit(bool sync = true);

 private:
  void discard();

  QByteArray destination_;
  QByteArray temporary_;
  int fd_ = -1;
  int lastError_ = 0;
  std::size_t unsynced_ = 0;  // bytes written since the last write-back was started
};

}  // namespace platform
