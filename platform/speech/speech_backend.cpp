#include "platform/speech/speech_backend.h"

#include "platform/speech/espeak_engine.h"

namespace platform {
namespace {

std::unique_ptr<SpeechBackend>& InstalledBackend() {
  static std::unique_ptr<SpeechBackend> backend;
  return backend;
}

}  // namespace

SpeechBackend& ActiveSpeechBackend() {
  auto& backend = InstalledBackend();
  if (!backend) backend = MakeEspeakBackend();
  return *backend;
}

void SetSpeechBackend(std::unique_ptr<SpeechBackend> backend) { InstalledBackend() = std::move(backend); }

}  // namespace platform
