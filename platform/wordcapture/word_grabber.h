#pragma once
// Screen word capture: a grabber object that watches what the learner selects in any program and
// hands each newly selected word, with the pointer's position, to a registered receiver (the
// sink). The receiver sets the grabber up with three properties and registers itself; from then
// on every new selection reaches its QueryWord. Nothing ends the capture but releasing the
// grabber.
//
// On X11 the word comes from the primary selection, as Linux pop-up dictionaries take it: the
// learner highlights a word (a double click does it in most programs) and its meaning pops up.
// The selection may still grow while the learner drags over text or double-clicks, so a new
// selection is taken once it rests: at once when no pointer button is held, else when the last
// button is released. Where the pointer's buttons cannot be seen, it is taken once it has stayed
// unchanged for the grabber's delay.

#include "platform/wordcapture/selection_source.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>

namespace platform {

// The receiver of captured words.
class IXDictGrabSink {
 public:
  virtual ~IXDictGrabSink() = default;
  // WordString: the captured word; lCursorX, lCursorY: the pointer's screen position in pixels;
  // SentenceString: the whole selected text; lLoc: where the word begins in it; lStart: where the
  // sentence begins in the selection (always 0 here). The result is not used.
  virtual std::int32_t QueryWord(const QString& WordString, std::int32_t lCursorX, std::int32_t lCursorY,
                                 const QString& SentenceString, std::int32_t lLoc, std::int32_t lStart) = 0;
};

// The longest word a report carries, in UTF-16 units.
inline constexpr int kMaxCapturedWordLength = 64;

// The word a selected text stands for: its first word, without the blanks and punctuation around
// it ("Hello, world" gives "Hello", "(apple)" gives "apple"). A word is a run of letters of any
// script, numbers and combining marks; an apostrophe or hyphen between two of them stays inside
// ("l'eau", "well-known"). Cut at kMaxCapturedWordLength units without halving a character; empty
// when the text holds no letter or number. Reads no further than the word, so a whole selected
// page costs no more than a word.
struct CapturedWord {
  QString word;
  qsizetype offset = 0;  // where the word begins in the text
};
CapturedWord FirstWordOf(const QString& text);

// What the grabber captures (its mode property).
enum GrabMode : std::int32_t {
  kGrabPrimarySelection = 0,  // the primary selection; any other mode captures nothing
};

// Where a grabber made without a source of its own takes its selections from; unset (the default),
// the desktop's primary selection. Tests and benchmarks hand the pop-up a selection of their own.
void SetSelectionSourceFactory(std::function<std::unique_ptr<SelectionSource>()> factory);

class WordGrabber : public QObject {
  Q_OBJECT

 public:
  // Watches `source`; when none is given, the factory's source or the desktop's primary selection.
  explicit WordGrabber(std::unique_ptr<SelectionSource> source = nullptr);
  ~WordGrabber() override;
  WordGrabber(const WordGrabber&) = delete;
  WordGrabber& operator=(const WordGrabber&) = delete;

  // Reports are made only while capture is on (off when the grabber is made).
  void setGrabEnabled(bool enabled);
  void setGrabMode(std::int32_t mode);
  // Where the pointer's buttons cannot be seen: tenths of a second a new selection must stay
  // unchanged before it is reported (0: at once).
  void setGrabDelay(std::int32_t tenths);

  // Registers the receiver of the reports, replacing an earlier one; `cookie` receives the
  // registration's number. The receiver must outlive the grabber or be replaced first.
  void AdviseGrab(IXDictGrabSink* sink, std::int32_t& cookie);

 private:
  bool capturing() const;
  void selectionChanged();
  void checkRest();
  void report();

  // How often the buttons are looked at while a selection is being made.
  static constexpr int kButtonPollMilliseconds = 10;

  std::unique_ptr<SelectionSource> source_;
  IXDictGrabSink* sink_ = nullptr;  // not owned
  std::int32_t registrations_ = 0;
  bool enabled_ = false;
  std::int32_t mode_ = kGrabPrimarySelection;
  QTimer rest_;    // looks whether the new selection rests
  QTimer settle_;  // the wait by time, where the buttons cannot be seen
};

}  // namespace platform
