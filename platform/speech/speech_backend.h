#pragma once
// The synthesiser behind the program's voice objects and speech controls, behind one interface so
// that tests can record what would be said instead of sounding it.

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace platform {

// How a text is spoken, with the values the program passes: Sync returns when the text has been
// said; Async returns at once and the text follows whatever is already being said;
// PurgeBeforeSpeak first stops everything being said or waiting to be said.
enum class SpeakFlags : unsigned { Sync = 0, Async = 1, PurgeBeforeSpeak = 2 };

constexpr SpeakFlags operator|(SpeakFlags a, SpeakFlags b) {
  return static_cast<SpeakFlags>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}
constexpr bool HasFlag(SpeakFlags flags, SpeakFlags flag) {
  return (static_cast<unsigned>(flags) & static_cast<unsigned>(flag)) != 0;
}

// Which synthesiser voice speaks: the voice of that name (or identifier) when a name is given,
// otherwise the synthesiser's best voice for the language tag ("en-us", "fr-fr").
struct VoiceSelection {
  QString name;
  QString language;
  friend bool operator==(const VoiceSelection&, const VoiceSelection&) = default;
};

// A voice the synthesiser has installed.
struct InstalledVoice {
  QString name;           // readable name, e.g. "French (France)"
  QString identifier;     // unique; selects the voice by name, e.g. "roa/fr"
  QStringList languages;  // language tags the voice speaks, e.g. "fr-fr", "fr"
};

class SpeechBackend {
 public:
  virtual ~SpeechBackend() = default;
  virtual std::vector<InstalledVoice> installedVoices() = 0;
  // Never reports failure: a text that cannot be spoken is simply not heard.
  virtual void speak(const QString& text, const VoiceSelection& voice, SpeakFlags flags) = 0;
  // True while a text is being said or waits to be said. There is one synthesiser for the whole
  // program, so this covers every voice object and speech control.
  virtual bool isSpeaking() = 0;
};

// The backend in use: espeak-ng unless a test installed its own. Used from the interface thread.
SpeechBackend& ActiveSpeechBackend();
// Installs a backend (tests); passing nullptr restores espeak-ng.
void SetSpeechBackend(std::unique_ptr<SpeechBackend> backend);

}  // namespace platform
