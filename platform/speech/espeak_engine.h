#pragma once
// The process's one espeak-ng instance. espeak-ng keeps all its state in globals, so one owner
// initialises it on first use, serialises every call to it and terminates it at exit.

#include "platform/speech/speech_backend.h"

#include <QString>

#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace platform {

class EspeakEngine {
 public:
  static EspeakEngine& instance();

  EspeakEngine(const EspeakEngine&) = delete;
  EspeakEngine& operator=(const EspeakEngine&) = delete;

  std::vector<InstalledVoice> installedVoices();
  void speak(const QString& text, const VoiceSelection& voice, SpeakFlags flags);
  bool isSpeaking();
  // Synthesises the text without playing it and returns the number of PCM samples; 0 when nothing
  // could be synthesised (espeak-ng unavailable, voice unknown, or the audio output already open:
  // espeak-ng cannot switch its output once it has opened the device).
  std::size_t synthesizeToSamples(const QString& text, const VoiceSelection& voice);

 private:
  // Synthesis: started, output to memory (voices listed, nothing played yet).
  // Playback: the audio output is open. Silent: no audio output; speaking says nothing.
  // Unavailable: espeak-ng could not start.
  enum class State { NotStarted, Synthesis, Playback, Silent, Unavailable };

  EspeakEngine() = default;
  ~EspeakEngine();

  // Called with mutex_ held.
  bool ensureStarted();
  bool ensurePlayback();
  bool applyVoice(const VoiceSelection& voice);
  // Called without mutex_ held: waits for the end of speaking, bounded by the text's length.
  void waitUntilSilent(qsizetype textLength);

  std::mutex mutex_;
  State state_ = State::NotStarted;
  bool terminateAtExit_ = false;
  std::optional<VoiceSelection> currentVoice_;  // the voice set in espeak-ng, when known
  std::vector<InstalledVoice> voices_;
};

// The backend that speaks through EspeakEngine.
std::unique_ptr<SpeechBackend> MakeEspeakBackend();

}  // namespace platform
