#include "platform/app/termination_signals.h"

#include "platform/files/file_descriptor.h"

#include <QCoreApplication>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstddef>

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr std::array<int, 3> kSignals{SIGTERM, SIGHUP, SIGINT};

// What the handler writes to; -1 while no object watches. Lock-free, so the handler may read it.
std::atomic<int> g_wakeDescriptor{-1};
static_assert(std::atomic<int>::is_always_lock_free);

struct TakenSignal {
  bool taken = false;
  struct sigaction previous {};
};
std::array<TakenSignal, kSignals.size()> g_taken;

// The socket pair: the handler writes into one end, the event loop reads the other.
FileDescriptor g_readEnd;
FileDescriptor g_writeEnd;

bool g_requested = false;

// All a signal handler does: one byte into the socket pair, errno left as it was. A full socket
// drops the byte, which is fine: the bytes already there wake the event loop.
void WriteWakeByte(int) {
  const int savedErrno = errno;
  const int descriptor = g_wakeDescriptor.load(std::memory_order_relaxed);
  if (descriptor >= 0) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(descriptor, &byte, 1);
  }
  errno = savedErrno;
}

bool IgnoredAtStart(int signal) {
  struct sigaction current {};
  if (::sigaction(signal, nullptr, &current) != 0) return false;
  return (current.sa_flags & SA_SIGINFO) == 0 && current.sa_handler == SIG_IGN;
}

void Install(int signal, TakenSignal& slot) {
  if (IgnoredAtStart(signal)) return;
  struct sigaction action {};
  action.sa_handler = &WriteWakeByte;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;  // system calls the signal interrupts go on
  slot.taken = ::sigaction(signal, &action, &slot.previous) == 0;
}

void GiveBack(int signal, TakenSignal& slot, bool ending) {
  if (!slot.taken) return;
  if (ending) {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    ::sigaction(signal, &ignore, nullptr);
  } else {
    ::sigaction(signal, &slot.previous, nullptr);
  }
  slot = TakenSignal{};
}

}  // namespace

TerminationSignals::TerminationSignals() {
  Q_ASSERT(g_wakeDescriptor.load() < 0);
  int ends[2] = {-1, -1};
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, ends) != 0) return;
  g_readEnd = FileDescriptor(ends[0]);
  g_writeEnd = FileDescriptor(ends[1]);
  g_requested = false;
  notifier_ = std::make_unique<QSocketNotifier>(g_readEnd.get(), QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this] { readSignals(); });
  g_wakeDescriptor.store(g_writeEnd.get());
  for (std::size_t i = 0; i < kSignals.size(); ++i) Install(kSignals[i], g_taken[i]);
}

TerminationSignals::~TerminationSignals() {
  for (std::size_t i = 0; i < kSignals.size(); ++i) GiveBack(kSignals[i], g_taken[i], g_requested);
  g_wakeDescriptor.store(-1);
  notifier_.reset();
  g_writeEnd.close();
  g_readEnd.close();
}

void TerminationSignals::readSignals() {
  std::array<char, 64> bytes{};
  while (::read(g_readEnd.get(), bytes.data(), bytes.size()) > 0) {
  }
  if (g_requested) return;  // the end is under way already
  g_requested = true;
  // Every event loop returns, the nested ones first; main() then ends the program.
  QCoreApplication::exit(0);
}

bool TerminationRequested() { return g_requested; }

}  // namespace platform
