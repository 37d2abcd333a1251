#pragma once
// The reader's bounds on itself, set before it reads a byte of its input and kept until it ends
// (nothing can lift them): process limits on memory (address space), CPU time, the size of any
// file it writes and the number of open files, and no core file; a system-call filter under which
// it can open no network socket and start no program (no exec, no fork; threads stay allowed); and,
// where the kernel offers Landlock, no writing anywhere but inside the one folder it was given (or
// nowhere). Everything the reader needs later (libraries, its locale) is loaded before.

#include "platform/reader/reader_process.h"

#include <QString>

namespace reader {

struct ConfinementResult {
  bool confined = false;  // every required bound holds
  int landlockAbi = 0;    // the kernel's Landlock version; 0: none, writes are bounded by the rest only
  QString failure;        // what could not be set, when not confined
};

// Bounds the calling process as described above; `writableFolder` empty: no folder is writable.
// In builds with the address sanitizer, whose shadow memory takes terabytes of address space, the
// memory limit is left to the sanitizer's own allocator limit instead.
ConfinementResult Confine(const platform::reader::ReaderLimits& limits, const QString& writableFolder);

}  // namespace reader
