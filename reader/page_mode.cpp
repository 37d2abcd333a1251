// The page mode: the page's bytes come on standard input; the answer is the element list, or why
// the page was refused (page_reader.h). The program never sends more than the page size limit;
// a page that goes past it anyway is refused before it is parsed.

#include "reader/page_reader.h"
#include "reader/reader_channel.h"

#include <QByteArray>

#include <cerrno>
#include <optional>

#include <unistd.h>

namespace reader {
namespace {

constexpr qsizetype kReadStep = 64 * 1024;

// The whole input, up to one byte past the limit (enough to know it is too large); nothing when
// it cannot be read to its end, so that no half page is read as a whole one.
std::optional<QByteArray> ReadInput(ReaderChannel& channel, qsizetype limit) {
  QByteArray input;
  while (input.size() <= limit) {
    const qsizetype at = input.size();
    input.resize(at + kReadStep);
    const ssize_t got = ::read(STDIN_FILENO, input.data() + at, static_cast<std::size_t>(kReadStep));
    input.resize(at + (got > 0 ? got : 0));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return std::nullopt;
    if (got == 0) break;
    channel.progress(input.size(), 0);
  }
  return input;
}

}  // namespace

int RunPageMode(const QStringList& /*arguments*/, ReaderChannel& channel) {
  const std::optional<QByteArray> page = ReadInput(channel, platform::browser::kMaxPageBytes);
  if (!page) return 1;
  channel.answer(EncodePageAnswer(ReadPage(*page)));
  return 0;
}

}  // namespace reader
