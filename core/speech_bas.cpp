#include "core/speech_bas.h"

#include "bar/SkolvaneBar.h"
#include "bar/frmSysMenu.h"
#include "core/cycle_bas.h"
#include "core/language_bas.h"
#include "core/read_ini_bas.h"
#include "core/segment_navigation_bas.h"
#include "core/text_drawing_bas.h"
#include "core/vars_bas.h"
#include "platform/codepage/ansi_code_page.h"
#include "platform/ini/ini.h"
#include "platform/speech/voice_catalog.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>


namespace {

using platform::SpeakFlags;

constexpr std::array<LanguageLetter, 12> kLanguageLetters{{
    {u'A', "1033"},   // English (United States)
    {u'B', "2057"},   // English (United Kingdom)
    {u'C', nullptr},  // Chinese (Simplified): spoken by a voice object
    {u'D', "1043"},   // Dutch
    {u'F', "1036"},   // French
    {u'G', "1031"},   // German
    {u'I', "1040"},   // Italian
    {u'J', "1041"},   // Japanese
    {u'K', "1042"},   // Korean
    {u'P', "1046"},   // Portuguese (Brazil)
    {u'R', "1049"},   // Russian
    {u'S', "1034"},   // Spanish
}};

// English (United States): spoken by g_VoiceEnglish, so no control engine is chosen for it.
const QString kEnglishLcid = QStringLiteral("1033");

constexpr QChar kFullWidthComma = u'，';
constexpr QChar kFullWidthSemicolon = u'；';

bool IsChinese(const QString& letter) { return letter == u"C"; }
bool IsEnglish(const QString& letter) { return letter == u"A"; }


// The bar's speech controls; null while the bar is not loaded (nothing to select or speak with).
platform::SpeechControl* SourceControl() {
  return SkolvaneBar::loaded() ? &SkolvaneBar::instance().spkSpeakSource : nullptr;
}
platform::SpeechControl* TargetControl() {
  return SkolvaneBar::loaded() ? &SkolvaneBar::instance().spkSpeakTarget : nullptr;
}

// An empty text says nothing, so it is not handed to the synthesiser at all.
void Say(platform::SpeechVoice* voice, const QString& text, SpeakFlags flags) {
  if (voice != nullptr && !text.isEmpty()) voice->speak(text, flags);
}
void Say(platform::SpeechControl* control, const QString& text) {
  if (control != nullptr && !text.isEmpty()) control->speak(text);
}

bool IsSpeaking(const platform::SpeechVoice* voice) { return voice != nullptr && voice->isSpeaking(); }
bool IsSpeaking(const platform::SpeechControl* control) { return control != nullptr && control->isSpeaking(); }

// A new voice object with the voice of this description, or the default voice when it is not
// installed.
std::unique_ptr<platform::SpeechVoice> NewVoice(const QString& description) {
  auto voice = std::make_unique<platform::SpeechVoice>();
  voice->setVoice(description);
  return voice;
}

// Looks among the control's engines for the side's locale identifier and makes the first match
// current. "1033" is found without a search: English speaks through the English voice.
bool SelectControlEngine(platform::SpeechControl* control, const QString& lcid) {
  if (lcid == kEnglishLcid) return true;
  if (control == nullptr) return false;
  const int count = control->engineCount();
  for (int i = 1; i <= count; ++i) {
    if (control->engineLocaleId(i).trimmed() == lcid) {
      control->selectEngine(i);
      return true;
    }
  }
  return false;
}

void SetSoundCaptions(const QString& prefix) {
  frmSysMenu& menu = frmSysMenu::instance();
  const QString section = QStringLiteral("frmSysMenu");
  menu.mnuSysTraySSound->setCaption(prefix + GetUIText(section, QStringLiteral("mnuSysTraySSound_A")));
  menu.mnuSysTrayDSound->setCaption(prefix + GetUIText(section, QStringLiteral("mnuSysTrayDSound_A")));
}

// A Chinese meaning is cut to two characters per second of the word interval, so it fits before
// the next word; an interval that is not a whole number of seconds from 1 to 10 leaves it whole.
qsizetype MeaningCharacters(std::int32_t speedMs) {
  if (speedMs % 1000 != 0 || speedMs < 1000 || speedMs > 10000) return -1;
  return speedMs / 500;
}

}  // namespace

std::span<const LanguageLetter> LanguageLetters() { return kLanguageLetters; }

QString LanguageLcid(const QString& letter) {
  if (letter.size() != 1) return {};
  for (const LanguageLetter& row : kLanguageLetters) {
    if (row.letter == letter.front()) return row.lcid != nullptr ? QString::fromLatin1(row.lcid) : QString();
  }
  return {};
}

void CreateBarVoices() {
  g_VoiceWord = NewVoice(platform::ChineseVoiceDescription());
  g_VoiceMeaning = NewVoice(platform::ChineseVoiceDescription());
  g_VoiceEnglish = NewVoice(platform::EnglishVoiceDescription());
}

void SelectWordVoice() {
  const QString lcid = LanguageLcid(g_SourceLang);
  if (!lcid.isEmpty()) g_VoiceLCID = lcid;

  if (IsChinese(g_SourceLang)) {
    g_VoiceWord = NewVoice(platform::ChineseVoiceDescription());
    g_WordVoiceFound = true;  // the default voice speaks when the Chinese one is missing
  } else {
    g_WordVoiceFound = SelectControlEngine(SourceControl(), g_VoiceLCID);
  }

  if (!g_WordVoiceFound) SetSoundCaptions(g_SourceLang + QStringLiteral(":"));
}

void SelectMeaningVoice() {
  const QString lcid = LanguageLcid(g_TargetLang);
  if (!lcid.isEmpty()) g_MeaningLCID = lcid;

  if (IsChinese(g_TargetLang)) {
    g_VoiceLCID = kEnglishLcid;
    g_VoiceMeaning = NewVoice(platform::ChineseVoiceDescription());
    if (g_VoiceMeaning->voice() == platform::ChineseVoiceDescription()) g_MeaningVoiceFound = true;
  } else {
    g_MeaningVoiceFound = SelectControlEngine(TargetControl(), g_MeaningLCID);
  }

  if (!g_MeaningVoiceFound) {
    const QString colon = QStringLiteral(":");
    SetSoundCaptions(g_WordVoiceFound ? g_TargetLang + colon : g_SourceLang + colon + g_TargetLang + colon);
  }
}

QString SpokenWord(const QString& rowText) {
  static const QString kWordEnds = QStringLiteral(",=.+(-");
  for (qsizetype i = 0; i < rowText.size(); ++i) {
    const QChar c = rowText[i];
    const bool doubleBlank = c == u' ' && i + 1 < rowText.size() && rowText[i + 1] == u' ';
    if (kWordEnds.contains(c) || doubleBlank) return rowText.left(i);
  }
  return {};
}

QString OmitAnnotations(const QString& text) {
  QString kept;
  qsizetype from = 0;
  for (;;) {
    const qsizetype open = text.indexOf(u'（', from);
    if (open < 0) break;
    const qsizetype close = text.indexOf(u'）', open + 1);
    if (close < 0) break;  // an unclosed part stays
    kept += QStringView(text).sliced(from, open - from);
    from = close + 1;
  }
  kept += QStringView(text).sliced(from);
  return RemoveBracketed(kept);
}

QString TextBeforeChar(const QString& text, const QString& character) {
  if (character.size() != 1) return text;
  const qsizetype at = text.indexOf(character.front());
  return at < 0 ? text : text.left(at);
}

void FirstMeaningPart() {
  const CycleRow* row = CycleRowAt(g_CyclePos - 1);
  if (row == nullptr) return;
  const QString& text = row->text;
  // Positions are 1-based, as the "@" position in column 2 is.
  qsizetype start = 1;
  if (!row->atPosition.isEmpty()) start = std::max<qsizetype>(1, row->atPosition.toLongLong());

  qsizetype a = 0;
  qsizetype b = 0;
  for (qsizetype i = start; i <= text.size(); ++i) {
    const QChar c = text[i - 1];
    if (c == kFullWidthComma || c == kFullWidthSemicolon) {
      if (a > 0) {
        b = i - 1;
        break;
      }
    } else if (platform::IsDoubleByteCharacter(QString(c))) {
      if (a == 0) {
        a = i;
      } else {
        b = i;
      }
    } else if (a > 0) {
      b = i;
    }
  }
  if (a > 0 && b > 0) g_PendingSpeech = text.mid(a - 1, b - a + 1);
}

void SpeakWord() {
  const QString shown = CycleRowText(g_CyclePos - 1);
  if (g_SoundMode == u"2") {
    if (IsChinese(g_TargetLang)) {
      FirstMeaningPart();
    } else {
      const qsizetype blank = shown.indexOf(u' ');
      g_PendingSpeech = (blank < 0 ? shown : shown.mid(blank + 1)).trimmed();
    }
  }

  const QString word = TextBeforeChar(OmitAnnotations(SpokenWord(shown)), g_MeaningSymbolStart);
  if (word == g_LastSpokenWord) return;
  g_LastSpokenWord = word;
  if (word.startsWith(u'>')) return;  // a meaning row of learn mode 2

  if (IsChinese(g_SourceLang)) {
    // Timers and hot keys waiting now run before the thread is held for the word.
    QCoreApplication::processEvents();
    Say(g_VoiceWord.get(), word, SpeakFlags::Sync);
  } else if (IsEnglish(g_SourceLang)) {
    Say(g_VoiceEnglish.get(), word, SpeakFlags::Sync);
  } else {
    Say(SourceControl(), word);
  }
}

void SpeakCurrentText() {
  const QString word = OmitAnnotations(SpokenWord(CycleRowText(g_CyclePos)));
  if (word.startsWith(u'>')) return;

  if (IsChinese(g_SourceLang)) {
    QCoreApplication::processEvents();
    Say(g_VoiceWord.get(), word, SpeakFlags::Async);
  } else if (g_KillSpeaking) {
    if (g_KillSpeakCount != 0) return;
    Say(SourceControl(), word);
    g_LastSpokenWord += word;
    ++g_KillSpeakCount;
  } else if (word != g_LastCurrentSpoken) {
    Say(SourceControl(), word);
    g_LastCurrentSpoken = word;
  }
}

void SpeechQueueTick() {
  const bool busy = IsChinese(g_SourceLang)   ? IsSpeaking(g_VoiceWord.get())
                    : IsEnglish(g_SourceLang) ? IsSpeaking(g_VoiceEnglish.get())
                                              : IsSpeaking(SourceControl());
  if (busy || g_PendingSpeech == g_LastSpoken) return;

  if (IsChinese(g_TargetLang)) {
    const qsizetype characters = MeaningCharacters(g_Speed);
    if (characters >= 0) g_PendingSpeech.truncate(characters);
    Say(g_VoiceMeaning.get(), g_PendingSpeech, SpeakFlags::Async);
  } else if (IsEnglish(g_TargetLang)) {
    Say(g_VoiceEnglish.get(), g_PendingSpeech, SpeakFlags::Async);
  } else {
    Say(TargetControl(), g_PendingSpeech);
  }
  g_LastSpoken = g_PendingSpeech;
}

void SpeechOff() {
  g_SoundMode = QStringLiteral("False");
  if (platform::SpeechControl* source = SourceControl()) source->setVisible(false);
  // The text-reading edition keeps its sound setting under its own key.
  g_IniValue.clear();
  platform::WriteProfileString(LibrarySettingsFile(), QStringLiteral("Normal"),
                               IsTextReaderEdition() ? QStringLiteral("TextSpeak") : QStringLiteral("WordSpeak"),
                               g_IniValue);
}
