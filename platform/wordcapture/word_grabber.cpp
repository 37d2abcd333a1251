#include "platform/wordcapture/word_grabber.h"

#include <QCursor>

#include <algorithm>
#include <utility>

namespace platform {

namespace {

// The code point starting at `at` and how many units it takes (an unpaired surrogate stands alone).
std::pair<char32_t, qsizetype> CodePointAt(const QString& text, qsizetype at) {
  const QChar first = text[at];
  if (first.isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate())
    return {QChar::surrogateToUcs4(first, text[at + 1]), 2};
  return {first.unicode(), 1};
}

// Letters (of any script), numbers, combining marks and connectors such as "_" make up a word.
bool IsWordCharacter(char32_t code) {
  switch (QChar::category(code)) {
    case QChar::Letter_Uppercase:
    case QChar::Letter_Lowercase:
    case QChar::Letter_Titlecase:
    case QChar::Letter_Modifier:
    case QChar::Letter_Other:
    case QChar::Number_DecimalDigit:
    case QChar::Number_Letter:
    case QChar::Number_Other:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Punctuation_Connector:
      return true;
    default:
      return false;
  }
}

// Apostrophes and hyphens join the word characters on both sides of them into one word ("l'eau",
// "o’clock", "well-known"); at a word's end they are punctuation like any other.
bool IsWordJoiner(char32_t code) {
  return code == U'\'' || code == U'\u2019' || code == U'\u02BC' || code == U'-' || code == U'\u2010' ||
         code == U'\u2011';
}

}  // namespace

CapturedWord FirstWordOf(const QString& text) {
  qsizetype begin = 0;
  while (begin < text.size()) {
    const auto [code, units] = CodePointAt(text, begin);
    if (IsWordCharacter(code)) break;
    begin += units;
  }
  // The word runs over word characters and the joiners between them, and never past the limit.
  const qsizetype limit = std::min(text.size(), begin + kMaxCapturedWordLength);
  qsizetype end = begin;
  qsizetype at = begin;
  while (at < text.size()) {
    const auto [code, units] = CodePointAt(text, at);
    if (at + units > limit) break;  // a character of two units at the limit is left out whole
    if (IsWordCharacter(code)) {
      at += units;
      end = at;
    } else if (IsWordJoiner(code) && end == at) {
      at += units;  // one joiner after a word character, kept only when another word character follows
    } else {
      break;
    }
  }
  return {text.mid(begin, end - begin), begin};
}

std::function<std::unique_ptr<SelectionSource>()>& SourceFactory() {
  static std::function<std::unique_ptr<SelectionSource>()> factory;
  return factory;
}

void SetSelectionSourceFactory(std::function<std::unique_ptr<SelectionSource>()> factory) {
  SourceFactory() = std::move(factory);
}

WordGrabber::WordGrabber(std::unique_ptr<SelectionSource> source) : source_(std::move(source)) {
  if (!source_ && SourceFactory()) source_ = SourceFactory()();
  if (!source_) source_ = std::make_unique<PrimarySelectionSource>();
  for (QTimer* timer : {&rest_, &settle_}) timer->setSingleShot(true);
  settle_.setInterval(0);
  connect(&rest_, &QTimer::timeout, this, &WordGrabber::checkRest);
  connect(&settle_, &QTimer::timeout, this, &WordGrabber::report);
  connect(source_.get(), &SelectionSource::changed, this, &WordGrabber::selectionChanged);
}

WordGrabber::~WordGrabber() = default;

void WordGrabber::setGrabEnabled(bool enabled) {
  enabled_ = enabled;
  if (enabled_) return;
  rest_.stop();
  settle_.stop();
}

void WordGrabber::setGrabMode(std::int32_t mode) { mode_ = mode; }

void WordGrabber::setGrabDelay(std::int32_t tenths) { settle_.setInterval(std::clamp(tenths, 0, 100) * 100); }

void WordGrabber::AdviseGrab(IXDictGrabSink* sink, std::int32_t& cookie) {
  sink_ = sink;
  cookie = ++registrations_;
}

bool WordGrabber::capturing() const { return enabled_ && mode_ == kGrabPrimarySelection && sink_ != nullptr; }

void WordGrabber::selectionChanged() {
  // Looked at on the next turn of the event loop: the changes a program makes in one go (it
  // takes the selection, then fills it) are taken once.
  if (capturing()) rest_.start(0);
}

void WordGrabber::checkRest() {
  if (!capturing()) return;
  const std::optional<bool> selecting = source_->stillSelecting();
  if (!selecting) {
    settle_.start();  // no way to see the pointer: wait until the selection stays unchanged
  } else if (*selecting) {
    rest_.start(kButtonPollMilliseconds);  // a drag or a double click goes on
  } else {
    settle_.stop();
    report();
  }
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
