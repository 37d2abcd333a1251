#include "platform/speech/speech_control.h"

#include "platform/speech/speech_backend.h"
#include "platform/speech/voice_catalog.h"

namespace platform {

int SpeechControl::engineCount() const { return static_cast<int>(LocaleEngines().size()); }

QString SpeechControl::engineLocaleId(int index) const {
  if (index < 1 || index > engineCount()) return {};
  return QString::number(LocaleEngines()[static_cast<std::size_t>(index - 1)].localeId);
}

bool SpeechControl::selectEngine(int index) {
  if (index < 1 || index > engineCount()) return false;
  current_ = index;
  return true;
}

void SpeechControl::speak(const QString& text) {
  const LocaleEngine& engine = LocaleEngines()[static_cast<std::size_t>(current_ - 1)];
  ActiveSpeechBackend().speak(text, {{}, QString::fromLatin1(engine.language)}, SpeakFlags::Async);
}

bool SpeechControl::isSpeaking() const { return ActiveSpeechBackend().isSpeaking(); }

}  // namespace platform
