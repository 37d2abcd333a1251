// The reader: reads one page or unpacks one archive that came from a server, in a process of its
// own that bounds itself (confinement.h) before it reads a byte, and answers the program over its
// standard output (reader_channel.h). Started by the program (platform/reader/reader_process.h).

#include "platform/reader/reader_wire.h"
#include "reader/archive_mode.h"
#include "reader/confinement.h"
#include "reader/reader_channel.h"

#include <QFile>
#include <QStringList>

#include <csignal>
#include <cstdio>
#include <exception>
#include <new>

#include <unistd.h>

namespace {

using platform::reader::ReaderMode;

struct Mode {
  ReaderMode mode;
  void (*prepare)();  // loads what the mode needs before the confinement closes the doors
  int (*run)(const QStringList&, reader::ReaderChannel&);
};
constexpr Mode kModes[] = {
    {ReaderMode::Page, nullptr, reader::RunPageMode},
    {ReaderMode::Archive, reader::PrepareArchiveMode, reader::RunArchiveMode},
};

[[noreturn]] void OutOfMemory() { ::_exit(platform::reader::kExitOutOfMemory); }

// An allocation that fails, in new or in a library that throws for it, is the memory limit.
[[noreturn]] void Terminate() {
  try {
    if (std::exception_ptr thrown = std::current_exception()) std::rethrow_exception(thrown);
  } catch (const std::bad_alloc&) {
    OutOfMemory();
  } catch (...) {
  }
  std::abort();
}

[[noreturn]] void Refuse(const QString& why) {
  std::fprintf(stderr, "lexorn2-reader: %s\n", why.toLocal8Bit().constData());
  ::_exit(platform::reader::kExitCannotConfine);
}

}  // namespace

int main(int argc, char** argv) {
  std::set_new_handler(OutOfMemory);
  std::set_terminate(Terminate);
  std::signal(SIGPIPE, SIG_IGN);  // a program that has gone is a write error, not a death
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QFile::decodeName(argv[i]);
  const std::optional<platform::reader::ReaderInvocation> invocation = platform::reader::ParseReaderArguments(arguments);
  if (!invocation) Refuse(QStringLiteral("not a command line of the program"));
  for (const Mode& mode : kModes) {
    if (mode.mode != invocation->mode) continue;
    if (mode.prepare != nullptr) mode.prepare();
    const reader::ConfinementResult confinement = reader::Confine(invocation->limits, invocation->writableFolder);
    if (!confinement.confined) Refuse(confinement.failure);
    reader::ReaderChannel channel(STDOUT_FILENO);
    return mode.run(invocation->arguments, channel);
  }
  Refuse(QStringLiteral("no such mode"));
}
