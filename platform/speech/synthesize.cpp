#include "platform/speech/espeak_engine.h"
#include "platform/speech/speech.h"

namespace platform {

std::size_t SynthesizeToSamples(const QString& text, const QString& voiceDescription) {
  EspeakEngine& engine = EspeakEngine::instance();
  for (const DescribedVoice& voice : DescribeVoices(engine.installedVoices())) {
    if (voice.description == voiceDescription) return engine.synthesizeToSamples(text, voice.selection);
  }
  return 0;
}

}  // namespace platform
