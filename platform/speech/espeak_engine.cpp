#include "platform/speech/espeak_engine.h"

#include "platform/sound/audio_output.h"
#include "platform/speech/espeak_utterance.h"

#include <QDebug>

#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>

#include <chrono>
#include <cstring>
#include <thread>

namespace platform {
namespace {

using namespace std::chrono_literals;

// Owns the error context espeak-ng fills in when it fails to start.
class ErrorContext {
 public:
  ErrorContext() = default;
  ~ErrorContext() { espeak_ng_ClearErrorContext(&context_); }
  ErrorContext(const ErrorContext&) = delete;
  ErrorContext& operator=(const ErrorContext&) = delete;
  espeak_ng_ERROR_CONTEXT* out() { return &context_; }

 private:
  espeak_ng_ERROR_CONTEXT context_ = nullptr;
};

QString StatusText(espeak_ng_STATUS status) {
  char text[512] = {};
  espeak_ng_GetStatusCodeMessage(status, text, sizeof text);
  return QString::fromLocal8Bit(text);
}

// espeak-ng calls this on the thread that called espeak_Synth while the output goes to memory,
// with the counter that thread passed as user data; during playback its event thread calls it with
// no user data. It touches nothing else, so it needs no locking.
int CountSamples(short* samples, int count, espeak_EVENT* events) {
  if (samples != nullptr && count > 0 && events != nullptr && events->user_data != nullptr)
    *static_cast<std::size_t*>(events->user_data) += static_cast<std::size_t>(count);
  return 0;
}

// The language tags of an espeak-ng voice: a priority byte before each NUL-terminated tag, and a
// zero priority byte after the last.
QStringList VoiceLanguages(const char* packed) {
  QStringList languages;
  while (packed != nullptr && *packed != '\0') {
    const char* tag = packed + 1;
    languages.append(QString::fromUtf8(tag));
    packed = tag + std::strlen(tag) + 1;
  }
  return languages;
}

std::vector<InstalledVoice> ListVoices() {
  std::vector<InstalledVoice> voices;
  const espeak_VOICE** list = espeak_ListVoices(nullptr);
  for (; list != nullptr && *list != nullptr; ++list) {
    const espeak_VOICE& voice = **list;
    voices.push_back({QString::fromUtf8(voice.name), QString::fromUtf8(voice.identifier), VoiceLanguages(voice.languages)});
  }
  return voices;
}

void Synthesize(const EspeakUtterance& utterance, void* userData) {
  const unsigned flags = espeakCHARS_UTF8 | (utterance.ssml ? espeakSSML : 0u);
  // Errors (a full queue, an engine fault) are ignored: the text is then not heard.
  espeak_Synth(utterance.utf8.constData(), static_cast<std::size_t>(utterance.utf8.size()) + 1, 0, POS_CHARACTER, 0, flags,
               nullptr, userData);
}

}  // namespace

EspeakEngine& EspeakEngine::instance() {
  static EspeakEngine engine;
  return engine;
}

EspeakEngine::~EspeakEngine() {
  if (terminateAtExit_) espeak_ng_Terminate();
}

bool EspeakEngine::ensureStarted() {
  if (state_ != State::NotStarted) return state_ != State::Unavailable;
  espeak_ng_InitializePath(nullptr);
  ErrorContext context;
  espeak_ng_STATUS status = espeak_ng_Initialize(context.out());
  if (status == ENS_OK) {
    terminateAtExit_ = true;
    status = espeak_ng_InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, 0, nullptr);
  }
  if (status != ENS_OK) {
    state_ = State::Unavailable;
    qWarning().noquote() << QStringLiteral("Speech is silent: espeak-ng could not start (%1).").arg(StatusText(status));
    return false;
  }
  espeak_SetSynthCallback(&CountSamples);
  voices_ = ListVoices();
  state_ = State::Synthesis;
  return true;
}

// The audio output opens on the first text spoken, so that runs that never speak (tests, a muted
// library) never touch the sound system.
bool EspeakEngine::ensurePlayback() {
  if (state_ == State::Playback) return true;
  if (state_ != State::Synthesis) return false;
  if (AudioOutputAvailable() && espeak_ng_InitializeOutput(ENOUTPUT_MODE_SPEAK_AUDIO, 0, nullptr) == ENS_OK) {
    state_ = State::Playback;
    return true;
  }
  espeak_ng_InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, 0, nullptr);
  state_ = State::Silent;
  qWarning("Speech is silent: no audio output device was found.");
  return false;
}

bool EspeakEngine::applyVoice(const VoiceSelection& voice) {
  if (currentVoice_ == voice) return true;
  espeak_ERROR result = EE_INTERNAL_ERROR;
  if (!voice.name.isEmpty()) {
    result = espeak_SetVoiceByName(voice.name.toUtf8().constData());
  } else {
    const QByteArray language = voice.language.toUtf8();
    espeak_VOICE properties{};
    properties.languages = language.constData();
    result = espeak_SetVoiceByProperties(&properties);
  }
  if (result == EE_OK) {
    currentVoice_ = voice;
  } else {
    currentVoice_.reset();  // espeak-ng may have fallen back to another voice
  }
  return result == EE_OK;
}

std::vector<InstalledVoice> EspeakEngine::installedVoices() {
  std::lock_guard lock(mutex_);
  ensureStarted();
  return voices_;
}

void EspeakEngine::speak(const QString& text, const VoiceSelection& voice, SpeakFlags flags) {
  if (text.isEmpty()) return;
  {
    std::lock_guard lock(mutex_);
    if (!ensureStarted() || !ensurePlayback()) return;
    if (HasFlag(flags, SpeakFlags::PurgeBeforeSpeak)) espeak_Cancel();
    // espeak-ng's synthesis thread reads the current voice while it speaks, so the voice is set
    // directly only while that thread is idle; otherwise a text for another voice carries its voice
    // and the switch happens in order, on that thread.
    if (espeak_IsPlaying() != 0 && currentVoice_ != voice) {
      Synthesize(VoicedUtterance(text, voice), nullptr);
    } else {
      applyVoice(voice);
      Synthesize(PlainUtterance(text), nullptr);
    }
  }
  if (!HasFlag(flags, SpeakFlags::Async)) waitUntilSilent(text.size());
}

// A synchronous text holds the interface thread until it has been said; the bound keeps a stuck
// sound system from holding it for ever.
void EspeakEngine::waitUntilSilent(qsizetype textLength) {
  const auto deadline = std::chrono::steady_clock::now() + 10s + textLength * 200ms;
  while (isSpeaking()) {
    if (std::chrono::steady_clock::now() >= deadline) {
      std::lock_guard lock(mutex_);
      espeak_Cancel();
      return;
    }
    std::this_thread::sleep_for(10ms);
  }
}

bool EspeakEngine::isSpeaking() {
  std::lock_guard lock(mutex_);
  return state_ == State::Playback && espeak_IsPlaying() != 0;
}

std::size_t EspeakEngine::synthesizeToSamples(const QString& text, const VoiceSelection& voice) {
  std::lock_guard lock(mutex_);
  if (!ensureStarted() || state_ == State::Playback || !applyVoice(voice)) return 0;
  std::size_t samples = 0;
  Synthesize(PlainUtterance(text), &samples);
  return samples;
}

namespace {

class EspeakBackend final : public SpeechBackend {
 public:
  std::vector<InstalledVoice> installedVoices() override { return EspeakEngine::instance().installedVoices(); }
  void speak(const QString& text, const VoiceSelection& voice, SpeakFlags flags) override {
    EspeakEngine::instance().speak(text, voice, flags);
  }
  bool isSpeaking() override { return EspeakEngine::instance().isSpeaking(); }
};

}  // namespace

std::unique_ptr<SpeechBackend> MakeEspeakBackend() { return std::make_unique<EspeakBackend>(); }

}  // namespace platform
