#pragma once
// The layer's tables: which synthesiser voice stands behind each voice description the program
// looks for, and which language each engine of the speech control speaks, by locale identifier.

#include "platform/speech/speech_backend.h"

#include <QString>

#include <span>
#include <vector>

namespace platform {

// The voice descriptions the program asks for by name.
QString ChineseVoiceDescription();  // "Microsoft Simplified Chinese"
QString EnglishVoiceDescription();  // "Microsoft Anna - English (United States)"

// A voice as a voice object lists it: its description and how the synthesiser selects it.
struct DescribedVoice {
  QString description;
  VoiceSelection selection;
};

// The installed voices as voice objects list them, in the synthesiser's order: the Mandarin
// (pinyin) voice and the US English voice under the descriptions the program asks for, every other
// voice under its own name. MBROLA voices are left out: they need an outside program.
std::vector<DescribedVoice> DescribeVoices(const std::vector<InstalledVoice>& installed);

// The voice a new voice object speaks with: US English, as the program's default voice.
DescribedVoice DefaultVoice();

// One engine of the speech control: the locale identifier it reports and the language it speaks.
struct LocaleEngine {
  int localeId;
  const char* language;
};

// The engines of the speech control, one per language a word library can be written in (Chinese
// aside, which voice objects speak), in the order of the library language letters.
std::span<const LocaleEngine> LocaleEngines();

}  // namespace platform
