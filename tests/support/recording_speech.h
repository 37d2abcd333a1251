#pragma once
// A speech backend for tests: records every text spoken, with its voice and flags, offers a fixed
// list of installed voices and reports "speaking" as the test sets it; a synchronous text can run
// a test's action while it is being said.

#include "platform/speech/speech_backend.h"

#include <functional>
#include <memory>
#include <vector>

namespace testing_support {

class RecordingSpeech final : public platform::SpeechBackend {
 public:
  struct Utterance {
    QString text;
    platform::VoiceSelection voice;
    platform::SpeakFlags flags;
    bool async() const { return platform::HasFlag(flags, platform::SpeakFlags::Async); }
  };

  std::vector<Utterance> spoken;
  bool speaking = false;  // what isSpeaking() answers
  // Runs while a synchronous text is being said, before speak returns: what the learner does while
  // the thread is held.
  std::function<void()> whileSayingSynchronously;
  // A few voices as espeak-ng lists them, among them the two the program asks for.
  std::vector<platform::InstalledVoice> voices{
      {QStringLiteral("Chinese (Mandarin, latin as English)"), QStringLiteral("sit/cmn"), {"cmn", "zh-cmn", "zh"}},
      {QStringLiteral("Chinese (Mandarin, latin as Pinyin)"), QStringLiteral("sit/cmn-Latn-pinyin"),
       {"cmn-latn-pinyin", "zh-cmn", "zh"}},
      {QStringLiteral("English (Great Britain)"), QStringLiteral("gmw/en"), {"en-gb", "en"}},
      {QStringLiteral("English (America)"), QStringLiteral("gmw/en-US"), {"en-us", "en"}},
      {QStringLiteral("French (France)"), QStringLiteral("roa/fr"), {"fr-fr", "fr"}},
  };

  std::vector<platform::InstalledVoice> installedVoices() override { return voices; }
  void speak(const QString& text, const platform::VoiceSelection& voice, platform::SpeakFlags flags) override {
    spoken.push_back({text, voice, flags});
    if (whileSayingSynchronously && !platform::HasFlag(flags, platform::SpeakFlags::Async)) whileSayingSynchronously();
  }
  bool isSpeaking() override { return speaking; }
};

// Installs a RecordingSpeech for the lifetime of this object and restores espeak-ng after.
class ScopedRecordingSpeech {
 public:
  ScopedRecordingSpeech() {
    auto owned = std::make_unique<RecordingSpeech>();
    speech_ = owned.get();
    platform::SetSpeechBackend(std::move(owned));
  }
  ~ScopedRecordingSpeech() { platform::SetSpeechBackend(nullptr); }
  ScopedRecordingSpeech(const ScopedRecordingSpeech&) = delete;
  ScopedRecordingSpeech& operator=(const ScopedRecordingSpeech&) = delete;

  RecordingSpeech* operator->() const { return speech_; }
  RecordingSpeech& operator*() const { return *speech_; }

 private:
  RecordingSpeech* speech_;  // owned by the platform's backend slot while this object lives
};

}  // namespace testing_support
