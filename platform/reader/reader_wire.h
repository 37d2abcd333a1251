#pragma once
// What travels between the program and its reader: the command line the program starts the
// reader with, the frames the reader sends on its standard output, and the exit status that says
// the reader met its memory limit. Both sides use these functions, so the format is written once.
//
// Command line: <mode word> [--memory=N] [--cpu=N] [--file-size=N] [--open-files=N]
//               [--write=FOLDER] -- <the mode's own arguments>
// Frames: one tag byte, then little-endian 64-bit numbers: 'P' done total (a progress report);
// 'A' length, then that many bytes (the answer, sent once, last).

#include "platform/reader/reader_process.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace platform::reader {

// The reader's exit status when an allocation failed: it met its memory limit.
constexpr int kExitOutOfMemory = 86;
// The reader's exit status when its command line or its confinement failed.
constexpr int kExitCannotConfine = 87;

QString ModeWord(ReaderMode mode);

// The reader's full command line (after the program name) for `run`.
QStringList ReaderArguments(const ReaderRun& run);

// What the reader reads from its command line.
struct ReaderInvocation {
  ReaderMode mode = ReaderMode::Page;
  ReaderLimits limits;
  QString writableFolder;
  QStringList arguments;
};
// Nothing when the command line is not one ReaderArguments writes.
std::optional<ReaderInvocation> ParseReaderArguments(const QStringList& arguments);

QByteArray ProgressFrame(std::int64_t done, std::int64_t total);
QByteArray AnswerFrameHead(qsizetype answerBytes);

// Reads the frames as they arrive, in pieces of any size.
class ReaderFrameReader {
 public:
  // Answers larger than this are not a complete answer the program takes.
  static constexpr std::int64_t kMaxAnswerBytes = std::int64_t{256} << 20;

  // Takes the next bytes; calls onProgress for each whole progress frame. False once the
  // stream breaks the format (an unknown tag, bytes after the answer, an answer too large).
  template <typename OnProgress>
  bool take(QByteArrayView bytes, OnProgress&& onProgress) {
    pending_.append(bytes);
    while (!broken_) {
      const std::optional<Frame> frame = nextFrame();
      if (!frame) break;
      if (frame->progress) onProgress(frame->done, frame->total);
    }
    return !broken_;
  }
  bool broken() const { return broken_; }
  // The answer, once it arrived whole.
  const std::optional<QByteArray>& answer() const { return answer_; }
  // Bytes of an incomplete frame at the end of the stream so far.
  qsizetype pendingBytes() const { return pending_.size(); }

 private:
  struct Frame {
    bool progress = false;
    std::int64_t done = 0;
    std::int64_t total = 0;
  };
  std::optional<Frame> nextFrame();

  QByteArray pending_;
  std::optional<QByteArray> answer_;
  bool broken_ = false;
};

}  // namespace platform::reader
