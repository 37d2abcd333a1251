#pragma once
// The reader's side of its pipe to the program: progress reports while it works, then one
// complete answer. The program counts a run as answered only when the answer arrived whole, so
// a reader killed half-way (by a limit, the deadline or Cancel) can never be mistaken for one
// that finished. Each mode is a function that reads its input, reports through the channel and
// returns the reader's exit status.

#include <QByteArrayView>
#include <QStringList>

#include <cstdint>

namespace reader {

class ReaderChannel {
 public:
  // Writes to the descriptor `fd` (the reader's standard output).
  explicit ReaderChannel(int fd) : fd_(fd) {}

  // Work done so far and the total expected (0 while unknown): bytes, entries.
  void progress(std::int64_t done, std::int64_t total);
  // The complete answer; sent once, last.
  void answer(QByteArrayView bytes);

 private:
  int fd_;
};

// The modes: each reads what its arguments and standard input give it, answers through the
// channel and returns the exit status.
int RunPageMode(const QStringList& arguments, ReaderChannel& channel);
int RunArchiveMode(const QStringList& arguments, ReaderChannel& channel);

}  // namespace reader
