#include "reader/confinement.h"

#include "reader/sanitizer_memory_limit.h"

#include <QFile>

#if LEXORN_ADDRESS_SANITIZER
#include <sanitizer/lsan_interface.h>
#endif

#include <linux/landlock.h>
#include <seccomp.h>
#include <sched.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace reader {
namespace {

// Rights newer than the system's headers.
#ifndef LANDLOCK_ACCESS_FS_REFER
#define LANDLOCK_ACCESS_FS_REFER (1ULL << 13)
#endif
#ifndef LANDLOCK_ACCESS_FS_TRUNCATE
#define LANDLOCK_ACCESS_FS_TRUNCATE (1ULL << 14)
#endif

QString SystemWords(const char* what, int error) {
  return QString::fromLatin1(what) + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(error));
}

struct Limit {
  int resource;
  rlim_t soft;
  rlim_t hard;
};

QString SetLimits(const platform::reader::ReaderLimits& limits) {
  const auto cpu = static_cast<rlim_t>(limits.cpuSeconds);
  // SIGXCPU at the soft limit; SIGKILL a second later should the signal be caught or ignored.
  const Limit table[] = {
      {RLIMIT_CORE, 0, 0},
      {RLIMIT_CPU, cpu, cpu + 1},
      {RLIMIT_FSIZE, static_cast<rlim_t>(limits.fileBytes), static_cast<rlim_t>(limits.fileBytes)},
      {RLIMIT_NOFILE, static_cast<rlim_t>(limits.openFiles), static_cast<rlim_t>(limits.openFiles)},
  };
  for (const Limit& limit : table) {
    const rlimit value{limit.soft, limit.hard};
    if (::setrlimit(limit.resource, &value) != 0) return SystemWords("setrlimit", errno);
  }
  if (kSanitizerReservesAddressSpace) {
    LimitSanitizerHeap(limits.memoryBytes);
    return {};
  }
  const rlimit memory{static_cast<rlim_t>(limits.memoryBytes), static_cast<rlim_t>(limits.memoryBytes)};
  if (::setrlimit(RLIMIT_AS, &memory) != 0) return SystemWords("setrlimit", errno);
  return {};
}

int LandlockAbi() {
  const long abi = ::syscall(SYS_landlock_create_ruleset, nullptr, 0, LANDLOCK_CREATE_RULESET_VERSION);
  return abi > 0 ? static_cast<int>(abi) : 0;
}

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// No writing (and no starting programs) but beneath `writableFolder`.
QString RestrictWrites(int abi, const QString& writableFolder) {
  __u64 writes = LANDLOCK_ACCESS_FS_WRITE_FILE | LANDLOCK_ACCESS_FS_REMOVE_DIR | LANDLOCK_ACCESS_FS_REMOVE_FILE |
                 LANDLOCK_ACCESS_FS_MAKE_DIR | LANDLOCK_ACCESS_FS_MAKE_REG;
  if (abi >= 3) writes |= LANDLOCK_ACCESS_FS_TRUNCATE;
  __u64 handled = writes | LANDLOCK_ACCESS_FS_EXECUTE | LANDLOCK_ACCESS_FS_MAKE_CHAR | LANDLOCK_ACCESS_FS_MAKE_SOCK |
                  LANDLOCK_ACCESS_FS_MAKE_FIFO | LANDLOCK_ACCESS_FS_MAKE_BLOCK | LANDLOCK_ACCESS_FS_MAKE_SYM;
  if (abi >= 2) handled |= LANDLOCK_ACCESS_FS_REFER;
  landlock_ruleset_attr attributes{};
  attributes.handled_access_fs = handled;
  const FileDescriptor ruleset(
      static_cast<int>(::syscall(SYS_landlock_create_ruleset, &attributes, sizeof attributes, 0)));
  if (ruleset.get() < 0) return SystemWords("landlock_create_ruleset", errno);
  if (!writableFolder.isEmpty()) {
    const FileDescriptor folder(::open(QFile::encodeName(writableFolder).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() < 0) return SystemWords("open the writable folder", errno);
    landlock_path_beneath_attr beneath{};
    beneath.allowed_access = writes;
    beneath.parent_fd = folder.get();
    if (::syscall(SYS_landlock_add_rule, ruleset.get(), LANDLOCK_RULE_PATH_BENEATH, &beneath, 0) != 0) {
      return SystemWords("landlock_add_rule", errno);
    }
  }
  if (::syscall(SYS_landlock_restrict_self, ruleset.get(), 0) != 0) return SystemWords("landlock_restrict_self", errno);
  return {};
}

struct FilterDeleter {
  void operator()(void* filter) const { seccomp_release(filter); }
};

// No network sockets, no new programs, no new processes (threads are clone with CLONE_THREAD).
QString FilterSystemCalls() {
  const std::unique_ptr<void, FilterDeleter> filter(seccomp_init(SCMP_ACT_ALLOW));
  if (!filter) return QStringLiteral("seccomp_init failed");
  scmp_filter_ctx context = filter.get();
  seccomp_attr_set(context, SCMP_FLTATR_CTL_TSYNC, 1);
  const int refused = SCMP_ACT_ERRNO(EPERM);
  int status = 0;
  const auto add = [&](int result) {
    if (status == 0) status = result;
  };
  const scmp_arg_cmp notLocal{0, SCMP_CMP_NE, AF_UNIX, 0};  // the socket's family
  add(seccomp_rule_add_array(context, SCMP_ACT_ERRNO(EACCES), SCMP_SYS(socket), 1, &notLocal));
  for (const int call : {SCMP_SYS(execve), SCMP_SYS(execveat), SCMP_SYS(fork), SCMP_SYS(vfork),
                         SCMP_SYS(io_uring_setup), SCMP_SYS(ptrace)}) {
    add(seccomp_rule_add(context, refused, call, 0));
  }
  const scmp_arg_cmp notThread{0, SCMP_CMP_MASKED_EQ, CLONE_THREAD, 0};  // the flags, without CLONE_THREAD
  add(seccomp_rule_add_array(context, refused, SCMP_SYS(clone), 1, &notThread));
  // clone3's flags sit behind a pointer the filter cannot read: the C library falls back to clone.
  add(seccomp_rule_add(context, SCMP_ACT_ERRNO(ENOSYS), SCMP_SYS(clone3), 0));
  if (status != 0) return SystemWords("seccomp_rule_add", -status);
  if (const int loaded = seccomp_load(context); loaded != 0) return SystemWords("seccomp_load", -loaded);
  return {};
}

}  // namespace

ConfinementResult Confine(const platform::reader::ReaderLimits& limits, const QString& writableFolder) {
  ConfinementResult result;
#if LEXORN_ADDRESS_SANITIZER
  // The leak check stops the process with a helper process and ptrace, which the confinement
  // forbids: it runs now, once, instead of at exit.
  __lsan_do_leak_check();
#endif
  if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0) {
    result.failure = SystemWords("no_new_privs", errno);
    return result;
  }
  result.landlockAbi = LandlockAbi();
  if (result.landlockAbi > 0) result.failure = RestrictWrites(result.landlockAbi, writableFolder);
  if (result.failure.isEmpty()) result.failure = FilterSystemCalls();
  if (result.failure.isEmpty()) result.failure = SetLimits(limits);
  result.confined = result.failure.isEmpty();
  return result;
}

}  // namespace reader
