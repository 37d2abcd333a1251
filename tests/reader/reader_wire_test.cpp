#include "platform/reader/reader_wire.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using platform::reader::AnswerFrameHead;
using platform::reader::ProgressFrame;
using platform::reader::ReaderFrameReader;

QByteArray Answer(const QByteArray& bytes) { return AnswerFrameHead(bytes.size()) + bytes; }

// The program takes a run as answered only when the answer arrived whole, however the pipe cut
// the stream, and nothing broken or trailing is mistaken for one.
TEST(ReaderFrames, OnlyAWholeAnswerCountsHoweverThePipeCutsTheStream) {
  const QByteArray reports = ProgressFrame(1, 10) + ProgressFrame(5, 10);
  const QByteArray tooLarge = AnswerFrameHead(ReaderFrameReader::kMaxAnswerBytes + 1);
  struct Case {
    const char* name;
    QByteArray stream;
    bool broken;
    std::optional<QByteArray> answer;
    bool pending;
  };
  const Case cases[] = {
      {"reports then an answer", reports + Answer("elements"), false, QByteArray("elements"), false},
      {"an empty answer", Answer({}), false, QByteArray(), false},
      {"reports only", reports, false, std::nullopt, false},
      {"an answer cut off", (reports + Answer("elements")).chopped(3), false, std::nullopt, true},
      {"a report cut off", ProgressFrame(1, 2).chopped(1), false, std::nullopt, true},
      {"bytes after the answer", Answer("a") + ProgressFrame(1, 1), true, QByteArray("a"), false},
      {"an unknown tag", QByteArray("Zjunk"), true, std::nullopt, false},
      {"an answer larger than taken", tooLarge, true, std::nullopt, false},
  };
  for (const Case& test : cases) {
    for (const qsizetype piece : {qsizetype{1}, qsizetype{7}, qsizetype{4096}}) {
      SCOPED_TRACE(testing::Message() << test.name << ", pieces of " << piece);
      ReaderFrameReader reader;
      std::vector<std::pair<std::int64_t, std::int64_t>> heard;
      for (qsizetype at = 0; at < test.stream.size(); at += piece) {
        reader.take(QByteArrayView(test.stream.mid(at, piece)),
                    [&](std::int64_t done, std::int64_t total) { heard.emplace_back(done, total); });
      }
      EXPECT_EQ(reader.broken(), test.broken);
      EXPECT_EQ(reader.answer(), test.answer);
      if (!test.broken) {
        EXPECT_EQ(reader.pendingBytes() != 0, test.pending);
      }
      if (test.stream.startsWith(reports)) {
        EXPECT_EQ(heard, (std::vector<std::pair<std::int64_t, std::int64_t>>{{1, 10}, {5, 10}}));
      }
    }
  }
}

}  // namespace
