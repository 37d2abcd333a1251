#include "platform/wordcapture/word_grabber.h"

#include <QCursor>

#include <algorithm>

namespace platform {

CapturedWord FirstWordOf(const QString& text) {
  qsizetype begin = 0;
  while (begin < text.size() && text[begin].isSpace()) ++begin;
  qsizetype end = begin;
  const qsizetype limit = std::min(text.size(), begin + kMaxCapturedWordLength);
  while (end < limit && !text[end].isSpace()) ++end;
  // A character of two units cut at the limit is left out whole.
  if (end == limit && end < text.size() && end > begin && text[end - 1].isHighSurrogate()) --end;
  return {text.mid(begin, end - begin), begin};
}

WordGrabber::WordGrabber(std::unique_ptr<SelectionSource> source) : source_(std::move(source)) {
  if (!source_) source_ = std::make_unique<PrimarySelectionSource>();
  settle_.setSingleShot(true);
  settle_.setInterval(0);
  connect(&settle_, &QTimer::timeout, this, &WordGrabber::report);
  connect(source_.get(), &SelectionSource::changed, this, &WordGrabber::selectionChanged);
}

WordGrabber::~WordGrabber() = default;

void WordGrabber::setGrabEnabled(bool enabled) {
  enabled_ = enabled;
  if (!enabled_) settle_.stop();
}

void WordGrabber::setGrabMode(std::int32_t mode) { mode_ = mode; }

void WordGrabber::setGrabDelay(std::int32_t tenths) { settle_.setInterval(std::clamp(tenths, 0, 100) * 100); }

void WordGrabber::AdviseGrab(IXDictGrabSink* sink, std::int32_t& cookie) {
  sink_ = sink;
  cookie = ++registrations_;
}

bool WordGrabber::capturing() const { return enabled_ && mode_ == kGrabPrimarySelection && sink_ != nullptr; }

void WordGrabber::selectionChanged() {
  if (capturing()) settle_.start();  // restarts the wait
}

void WordGrabber::report() {
  if (!capturing()) return;
  const QString sentence = source_->text();
  const CapturedWord captured = FirstWordOf(sentence);
  if (captured.word.isEmpty()) return;
  const QPoint pointer = QCursor::pos();
  sink_->QueryWord(captured.word, pointer.x(), pointer.y(), sentence, static_cast<std::int32_t>(captured.offset), 0);
}

}  // namespace platform
