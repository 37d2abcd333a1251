#pragma once
// Speech: voice objects (platform::SpeechVoice) and the speech control (platform::SpeechControl),
// both speaking through espeak-ng, or through a test's backend (platform::SetSpeechBackend).

#include "platform/speech/speech_backend.h"
#include "platform/speech/speech_control.h"
#include "platform/speech/speech_voice.h"
#include "platform/speech/voice_catalog.h"

#include <QString>

#include <cstddef>

namespace platform {

// Synthesises the text with the installed voice of this description through espeak-ng itself
// (whatever backend is installed) without playing it, and returns the number of PCM samples (22050
// per second). 0 when nothing could be synthesised: no voice has the description, espeak-ng could
// not start, or speaking already opened the audio output (espeak-ng cannot switch back then).
std::size_t SynthesizeToSamples(const QString& text, const QString& voiceDescription);

}  // namespace platform
