#pragma once
// Speech: the word of each shown row is spoken by the engine of the library's word language, and
// in the two-language sound mode its meaning waits in a queue that the bar's 100 ms timer hands
// to the meaning language's engine once the word side has fallen silent.
//
// Engines by language letter: "C" speaks through voice objects (g_VoiceWord, g_VoiceMeaning),
// "A" through g_VoiceEnglish in the word step and the queue, every other letter through the bar's
// speech control of its side (spkSpeakSource, spkSpeakTarget), whose engine is chosen by locale
// identifier. All of it runs on the interface thread.

#include "platform/speech/speech_voice.h"

#include <QChar>
#include <QString>

#include <memory>
#include <span>

// ---- Language letters ---------------------------------------------------------------------------

// A language letter and the locale identifier (decimal text) its engine reports; Chinese ("C")
// has none: a voice object speaks it.
struct LanguageLetter {
  QChar letter;
  const char* lcid;  // nullptr for "C"
};

// The twelve letters a library can name, in category order.
std::span<const LanguageLetter> LanguageLetters();

// The locale identifier of a letter as decimal text; empty for "C" and for a letter with no row.
QString LanguageLcid(const QString& letter);

// ---- Voice objects (live as long as the bar; null before its start) ---------------------------

inline std::unique_ptr<platform::SpeechVoice> g_VoiceWord;     // word side of a "C" library
inline std::unique_ptr<platform::SpeechVoice> g_VoiceMeaning;  // meaning side of a "C" library
inline std::unique_ptr<platform::SpeechVoice> g_VoiceEnglish;  // letter "A"

// The bar's start: the word and meaning voices with the Chinese voice, the English voice with the
// US English one; a voice whose description is not installed keeps the default voice.
void CreateBarVoices();

// ---- Engine selection (the settings load calls both, word side first) -------------------------

// Looks for the word letter's engine: a new Chinese voice object for "C", otherwise the speech
// control engine whose locale identifier matches ("1033" selects none: "A" speaks through the
// English voice). When none is found, the tray menu's two sound items say which letter lacks one.
void SelectWordVoice();
// The same for the meaning letter; its captions name both letters when neither side was found.
void SelectMeaningVoice();

// ---- Speaking ----------------------------------------------------------------------------------

// The word step: queues the meaning (sound mode "2"), then speaks the shown row's word unless it
// is the word spoken last or a meaning row (">"). "C" and "A" speak synchronously, so the queue
// waits until the word is said; the speech layer bounds that wait.
void SpeakWord();

// The kill that keeps the cycle: speaks the word of the row after the shown one (at g_CyclePos),
// at most once while g_KillSpeaking is set.
void SpeakCurrentText();

// Queues the first Chinese clause of the shown row's meaning (from the row's "@" position, up to
// the first full-width comma or semicolon); keeps the queue as it is when there is none.
void FirstMeaningPart();

// The word of a row: the text before the first of , = . + ( - or a double blank; empty when the
// row has none of them.
QString SpokenWord(const QString& rowText);

// The text without its full-width "（...）" parts (an unclosed "（" stays) and its "[...]" parts.
QString OmitAnnotations(const QString& text);

// The text before the first occurrence of `character`; the whole text when it does not occur or
// `character` is not exactly one character.
QString TextBeforeChar(const QString& text, const QString& character);

// One tick of the speech queue: speaks g_PendingSpeech with the meaning side's engine when the
// word side is idle and the text differs from the one spoken last. A Chinese meaning is cut to
// two characters per second of the word interval.
void SpeechQueueTick();

// The speech control gave up: speech goes off for this run (g_SoundMode "False"), the control is
// hidden and the library's sound setting is cleared.
void SpeechOff();
