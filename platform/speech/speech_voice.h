#pragma once
// A voice object: lists the installed voices by description, speaks with the one chosen.

#include "platform/speech/speech_backend.h"

#include <QString>
#include <QStringList>

namespace platform {

class SpeechVoice {
 public:
  // Speaks with the default voice (US English) until setVoice chooses another.
  SpeechVoice();

  // Descriptions of the installed voices, in the synthesiser's order.
  QStringList voices() const;
  // Chooses the first installed voice with this description; returns false and keeps the voice
  // in use when no voice has it.
  bool setVoice(const QString& description);
  // Description of the voice in use.
  QString voice() const { return description_; }

  void speak(const QString& text, SpeakFlags flags);
  // The running state "speaking": true while a text is being said or waits to be said.
  bool isSpeaking() const;

 private:
  QString description_;
  VoiceSelection selection_;
};

}  // namespace platform
