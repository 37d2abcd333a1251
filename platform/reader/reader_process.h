#pragma once
// Running the reader: the program's own helper program ("lexorn2-reader", beside the running
// program in the program folder) that parses or unpacks what came from a server in a process of
// its own. The reader bounds itself before it reads a byte (memory, CPU time, file size, open
// files, no core file; no network and no new programs; where the kernel offers it, writes only
// inside the one folder it was given), so whatever a page or an archive makes the parsing library
// do, the program itself never crashes, freezes or grows.
//
// RunReader starts the reader, hands it its input, and waits without blocking the program's event
// loop: windows keep painting, `onProgress` hears what the reader reports, and `cancelled` is
// asked at least every 100 ms. The reader is killed on Cancel and when the wall-clock deadline
// passes. Only a complete answer counts: a reader that was killed, crashed or ended without one
// is a refusal whose cause the outcome names.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <chrono>
#include <cstdint>
#include <functional>

namespace platform::reader {

// What the reader is asked to do; each mode is one command word on its command line.
enum class ReaderMode {
  Page,     // parse one HTML page (its bytes on the reader's input) into the element list
  Archive,  // unpack one zip archive into the writable folder
};

// The bounds the reader puts on itself, and the program's deadline for it.
struct ReaderLimits {
  std::int64_t memoryBytes = std::int64_t{512} << 20;  // address space (relaxed in sanitizer builds)
  int cpuSeconds = 5;
  std::int64_t fileBytes = 0;  // the largest file it may write; 0: none
  int openFiles = 32;
  std::chrono::milliseconds deadline{std::chrono::seconds(10)};
};

struct ReaderRun {
  ReaderMode mode = ReaderMode::Page;
  QStringList arguments;   // the mode's own arguments, after the mode word
  QByteArray input;        // written to the reader's standard input, then closed
  QString writableFolder;  // the only folder it may write into (empty: none)
  ReaderLimits limits;
  // The reader's reports: work done so far and the total it expects (0 while unknown).
  std::function<void(std::int64_t done, std::int64_t total)> onProgress;
  // Asked while waiting; true kills the reader and ends the run as Cancelled.
  std::function<bool()> cancelled;
};

// How a run ended.
enum class ReaderEnd {
  Answered,      // the reader ended normally with a complete answer (which may be a refusal of its own)
  OutOfMemory,   // it met its memory limit
  OutOfTime,     // it used up its CPU time
  Deadline,      // the wall-clock deadline passed; it was killed
  Cancelled,     // the caller cancelled; it was killed
  Crashed,       // it died of another signal
  NoAnswer,      // it ended without a complete answer
  CannotStart,   // the reader program is missing or could not be started
};

struct ReaderOutcome {
  ReaderEnd end = ReaderEnd::CannotStart;
  QByteArray answer;  // the reader's answer (Answered only)
  QString detail;     // for the log and tests: exit status or signal (the reader's last words go to the log)
  bool answered() const { return end == ReaderEnd::Answered; }
};

// Runs the reader once, as described above.
ReaderOutcome RunReader(const ReaderRun& run);

// The reader program's full path: beside the running program.
QString ReaderProgramPath();

}  // namespace platform::reader
