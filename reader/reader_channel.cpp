#include "reader/reader_channel.h"

#include "platform/reader/reader_wire.h"

#include <unistd.h>

#include <cerrno>

namespace reader {
namespace {

// Writes every byte, or gives up when the program has gone (the pipe is closed).
void WriteAll(int fd, QByteArrayView bytes) {
  const char* data = bytes.data();
  qsizetype left = bytes.size();
  while (left > 0) {
    const ssize_t written = ::write(fd, data, static_cast<size_t>(left));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;
    data += written;
    left -= written;
  }
}

}  // namespace

void ReaderChannel::progress(std::int64_t done, std::int64_t total) {
  WriteAll(fd_, platform::reader::ProgressFrame(done, total));
}

void ReaderChannel::answer(QByteArrayView bytes) {
  WriteAll(fd_, platform::reader::AnswerFrameHead(bytes.size()));
  WriteAll(fd_, bytes);
}

}  // namespace reader
