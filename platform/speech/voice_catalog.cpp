#include "platform/speech/voice_catalog.h"

#include <array>

namespace platform {
namespace {

// The plain Mandarin voice reads the tone digits of pinyin aloud; this one speaks them as tones.
constexpr char kMandarinVoice[] = "cmn-latn-pinyin";
constexpr char kUsEnglish[] = "en-us";

constexpr std::array<LocaleEngine, 11> kLocaleEngines{{
    {1033, "en-us"},  // English (United States)
    {2057, "en-gb"},  // English (United Kingdom)
    {1043, "nl"},     // Dutch
    {1036, "fr-fr"},  // French
    {1031, "de"},     // German
    {1040, "it"},     // Italian
    {1041, "ja"},     // Japanese
    {1042, "ko"},     // Korean
    {1046, "pt-br"},  // Portuguese (Brazil)
    {1049, "ru"},     // Russian
    {1034, "es"},     // Spanish
}};

bool IsMbrolaVoice(const InstalledVoice& voice) { return voice.identifier.startsWith(QLatin1String("mb/")); }

bool Speaks(const InstalledVoice& voice, const char* language) {
  return voice.languages.contains(QLatin1String(language), Qt::CaseInsensitive);
}

}  // namespace

QString ChineseVoiceDescription() { return QStringLiteral("Microsoft Simplified Chinese"); }

QString EnglishVoiceDescription() { return QStringLiteral("Microsoft Anna - English (United States)"); }

std::vector<DescribedVoice> DescribeVoices(const std::vector<InstalledVoice>& installed) {
  std::vector<DescribedVoice> described;
  bool chineseTaken = false;
  bool englishTaken = false;
  for (const InstalledVoice& voice : installed) {
    if (IsMbrolaVoice(voice)) continue;
    if (!chineseTaken && Speaks(voice, kMandarinVoice)) {
      chineseTaken = true;
      described.push_back({ChineseVoiceDescription(), {QString::fromLatin1(kMandarinVoice), {}}});
    } else if (!englishTaken && Speaks(voice, kUsEnglish)) {
      englishTaken = true;
      described.push_back(DefaultVoice());
    } else {
      described.push_back({voice.name, {voice.identifier, {}}});
    }
  }
  return described;
}

DescribedVoice DefaultVoice() { return {EnglishVoiceDescription(), {{}, QString::fromLatin1(kUsEnglish)}}; }

std::span<const LocaleEngine> LocaleEngines() { return kLocaleEngines; }

}  // namespace platform
