#pragma once
// The speech control: a fixed list of engines, one per language a word library can be written in,
// each reporting its locale identifier. One engine is current; speaking returns at once.

#include <QString>

namespace platform {

class SpeechControl {
 public:
  // Number of installed engines.
  int engineCount() const;
  // Locale identifier of engine index (1 to engineCount()) as decimal text ("1036");
  // empty for an index outside that range.
  QString engineLocaleId(int index) const;
  // Makes engine index current; returns false and keeps the current engine for an index outside
  // 1 to engineCount().
  bool selectEngine(int index);
  // The current engine's index; engine 1 until another is selected.
  int currentEngine() const { return current_; }

  // Speaks the text with the current engine and returns at once; it follows whatever is already
  // being said.
  void speak(const QString& text);
  // True while a text is being said or waits to be said.
  bool isSpeaking() const;

  // The control's Visible property. It has no window of its own here; the flag is kept for the
  // program, which hides the control when speech goes off.
  void setVisible(bool visible) { visible_ = visible; }
  bool isVisible() const { return visible_; }

 private:
  int current_ = 1;
  bool visible_ = true;
};

}  // namespace platform
