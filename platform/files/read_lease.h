#pragma once
// Asking the kernel whether any process holds a file open for writing, instead of guessing it from
// how long the file has been left alone. A read lease (fcntl F_SETLEASE, F_RDLCK) is granted only
// while no process, this one included, has the file open for writing; once granted, any open for
// writing or truncation of the file breaks it, and the writer's open waits until the lease is given
// back. So a granted lease that is still unbroken after a read proves that nobody wrote the file
// during it, and a lease held across a replace keeps writers out until the rename is done.
//
// Leases are a promise only where every writer goes through this kernel: on FUSE and network file
// systems a writer on the server or another machine is unseen, and a lease is refused on a file of
// another owner without CAP_LEASE. There the answer is "unknown", and the caller must judge another
// way. A lease is held only as long as its object lives: keep it for the read or the replace, no
// longer, since a writer opening the file waits for it.

#include "platform/files/file_descriptor.h"
#include "platform/files/safe_read.h"

#include <QString>

#include <optional>

namespace platform {

enum class WriterState {
  None,     // no process holds the file open for writing; the lease keeps it so until broken
  Writing,  // some process, this one included, holds the file open for writing
  Unknown,  // the kernel cannot tell for this file (see above); no lease is held
  Missing,  // no regular file at the path
};

class ReadLease {
 public:
  // Asks for a read lease on the regular file at path (symbolic links followed). Never blocks.
  explicit ReadLease(const QString& path);
  ~ReadLease() { release(); }
  ReadLease(ReadLease&&) = default;
  ReadLease& operator=(ReadLease&&) = default;
  ReadLease(const ReadLease&) = delete;
  ReadLease& operator=(const ReadLease&) = delete;

  WriterState state() const { return state_; }
  // True when the lease was granted, is not broken (nobody opened the file for writing or
  // truncated it since), and is on the file `version` names (the same inode of the same device).
  bool holdsFor(const FileVersion& version) const;
  // Gives the lease back (a writer waiting in its open goes on).
  void release();

 private:
  WriterState state_ = WriterState::Missing;
  FileDescriptor file_;
};

}  // namespace platform
