#include "platform/files/read_lease.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <mutex>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>

namespace platform {
namespace {

// File systems whose files a server or another machine may write without this kernel knowing
// (statfs f_type): a lease granted there proves nothing about those writers.
constexpr std::array<std::uint32_t, 15> kSharedFileSystems = {
    0x65735546,  // FUSE (bindfs, sshfs, cloud drives)
    0x00006969,  // NFS
    0xFF534D42,  // CIFS
    0xFE534D42,  // SMB2
    0x0000517B,  // SMB
    0x00C36400,  // Ceph
    0x5346414F,  // AFS
    0x6B414653,  // kAFS
    0x01021997,  // 9P
    0x73757245,  // Coda
    0x01161970,  // GFS2
    0x7461636F,  // OCFS2
    0x47504653,  // GPFS
    0x19830326,  // BeeGFS
    0x0BD00BD0,  // Lustre
};

bool OnSharedFileSystem(int fd) {
  struct statfs info {};
  if (::fstatfs(fd, &info) != 0) return true;  // unknown: do not trust the lease
  const auto type = static_cast<std::uint32_t>(info.f_type);
  for (const std::uint32_t shared : kSharedFileSystems) {
    if (type == shared) return true;
  }
  return false;
}

void OnLeaseBreak(int) {}

// The kernel tells the holder of a broken lease with SIGIO, whose default ends the process. The
// lease is checked by asking (F_GETLEASE), so the signal itself needs no handling; a handler
// (not SIG_IGN, which programs started later would inherit) keeps it from ending the program.
// A handler someone else installed is left alone.
void KeepLeaseBreaksHarmless() {
  static std::once_flag once;
  std::call_once(once, [] {
    struct sigaction current {};
    if (::sigaction(SIGIO, nullptr, &current) != 0) return;
    if ((current.sa_flags & SA_SIGINFO) != 0 || current.sa_handler != SIG_DFL) return;
    struct sigaction harmless {};
    harmless.sa_handler = OnLeaseBreak;
    sigemptyset(&harmless.sa_mask);
    harmless.sa_flags = SA_RESTART;
    ::sigaction(SIGIO, &harmless, nullptr);
  });
}

}  // namespace

ReadLease::ReadLease(const QString& path) {
  ReadStatus status = ReadStatus::Missing;
  FileDescriptor file = OpenRegularFile(path, status);
  if (status != ReadStatus::Ok) {
    state_ = status == ReadStatus::Missing ? WriterState::Missing : WriterState::Unknown;
    return;
  }
  KeepLeaseBreaksHarmless();
  if (::fcntl(file.get(), F_SETLEASE, F_RDLCK) != 0) {
    // EAGAIN: open for writing somewhere. EACCES/EPERM (another owner, no CAP_LEASE), EINVAL
    // (leases switched off, or a file system without them) and the rest: the kernel cannot say.
    state_ = errno == EAGAIN ? WriterState::Writing : WriterState::Unknown;
    return;
  }
  if (OnSharedFileSystem(file.get())) {
    // No local writer, which says nothing about writers elsewhere.
    state_ = WriterState::Unknown;
    return;  // closing the descriptor gives the lease back
  }
  state_ = WriterState::None;
  file_ = std::move(file);
}

bool ReadLease::holdsFor(const FileVersion& version) const {
  if (state_ != WriterState::None || !file_.valid() || ::fcntl(file_.get(), F_GETLEASE) != F_RDLCK) return false;
  struct stat info {};
  return ::fstat(file_.get(), &info) == 0 && static_cast<std::uint64_t>(info.st_ino) == version.inode &&
         static_cast<std::uint64_t>(info.st_dev) == version.device &&
         static_cast<std::int64_t>(info.st_size) == version.size;
}

void ReadLease::release() {
  if (!file_.valid()) return;
  ::fcntl(file_.get(), F_SETLEASE, F_UNLCK);
  file_.close();
}

}  // namespace platform
