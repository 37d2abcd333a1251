#include "platform/speech/speech_voice.h"

#include "platform/speech/voice_catalog.h"

namespace platform {

SpeechVoice::SpeechVoice() {
  const DescribedVoice standard = DefaultVoice();
  description_ = standard.description;
  selection_ = standard.selection;
}

QStringList SpeechVoice::voices() const {
  QStringList descriptions;
  for (const DescribedVoice& voice : DescribeVoices(ActiveSpeechBackend().installedVoices()))
    descriptions.append(voice.description);
  return descriptions;
}

bool SpeechVoice::setVoice(const QString& description) {
  for (const DescribedVoice& voice : DescribeVoices(ActiveSpeechBackend().installedVoices())) {
    if (voice.description == description) {
      description_ = voice.description;
      selection_ = voice.selection;
      return true;
    }
  }
  return false;
}

void SpeechVoice::speak(const QString& text, SpeakFlags flags) { ActiveSpeechBackend().speak(text, selection_, flags); }

bool SpeechVoice::isSpeaking() const { return ActiveSpeechBackend().isSpeaking(); }

}  // namespace platform
