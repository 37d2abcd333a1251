#include "core/speech_bas.h"

#include "bar/SkolvaneBar.h"
#include "bar/frmSysMenu.h"
#include "core/cycle_bas.h"
#include "core/vars_bas.h"
#include "platform/ini/ini.h"
#include "tests/support/bar_drawing_fixture.h"
#include "tests/support/recording_speech.h"
#include "tests/support/temp_folders.h"

#include "tests/support/scoped_application_name.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <vector>

namespace {

using platform::SpeakFlags;
using platform::VoiceSelection;
using testing_support::RecordingSpeech;
using testing_support::ScopedRecordingSpeech;

const VoiceSelection kMandarin{QStringLiteral("cmn-latn-pinyin"), {}};
const VoiceSelection kUsEnglish{{}, QStringLiteral("en-us")};
const VoiceSelection kFrenchEngine{{}, QStringLiteral("fr-fr")};

// ---- Text rules ---------------------------------------------------------------------------------

TEST(SpokenWord, EndsAtTheFirstDelimiterOrDoubleBlank) {
  EXPECT_EQ(SpokenWord("apple, pie  n. fruit"), "apple");
  EXPECT_EQ(SpokenWord("ice cream  n."), "ice cream");  // one blank does not end the word
  for (const char* row : {"a=b", "a.b", "a+b", "a(b", "a-b"}) EXPECT_EQ(SpokenWord(row), "a") << row;
  EXPECT_EQ(SpokenWord("(note)"), "");
  // Without any delimiter the row has no spoken word, even with a trailing single blank.
  EXPECT_EQ(SpokenWord("plain words "), "");
}

TEST(OmitAnnotations, DropsFullWidthParenthesesAndBrackets) {
  EXPECT_EQ(OmitAnnotations("bank（银行）（旧）[bæŋk]"), "bank");
  EXPECT_EQ(OmitAnnotations("a（b"), "a（b");
  EXPECT_EQ(OmitAnnotations("a（b）c（d"), "ac（d");
  EXPECT_EQ(OmitAnnotations("a）b"), "a）b");
  EXPECT_EQ(OmitAnnotations("x[y]z(w)"), "xz(w)");
}

TEST(TextBeforeChar, CutsBeforeTheFirstOccurrenceOfOneCharacter) {
  EXPECT_EQ(TextBeforeChar("abc(d(e", "("), "abc");
  EXPECT_EQ(TextBeforeChar("abc", "("), "abc");
  EXPECT_EQ(TextBeforeChar("abc(d", ""), "abc(d");
  EXPECT_EQ(TextBeforeChar("abc(d", "(d"), "abc(d");
}

TEST(LanguageLetters, MapLettersToLocaleIdentifiers) {
  EXPECT_EQ(LanguageLcid("A"), "1033");
  EXPECT_EQ(LanguageLcid("P"), "1046");
  EXPECT_EQ(LanguageLcid("C"), "");  // a voice object speaks Chinese
  EXPECT_EQ(LanguageLcid("X"), "");
  EXPECT_EQ(LanguageLcid("AB"), "");
}

// ---- Speaking, with the bar loaded and a recording synthesiser --------------------------------

class Speech : public testing_support::BarDrawingFixture {
 protected:
  void SetUp() override {
    BarDrawingFixture::SetUp();
    testing_support::TempFolders::writeFile(folders().programFolder() + "LANG_C.dat",
                                            "[frmSysMenu]\r\n"
                                            "mnuSysTraySSound_A=no voice (word)\r\n"
                                            "mnuSysTrayDSound_A=no voice (meaning)\r\n");
    g_UILanguage = "C";
    g_SourceLang = "A";
    g_TargetLang = "C";
    g_SoundMode = "1";
    g_Speed = 2000;
    g_MeaningSymbolStart = "(";
    CreateBarVoices();
    speech->spoken.clear();
  }

  // The cycle rows (column 0; column 2 from "@" when given) with position p showing row p - 1.
  static void SetCycle(std::vector<CycleRow> rows, int position) {
    g_CycleTable = std::move(rows);
    g_CycleCount = static_cast<std::int16_t>(g_CycleTable.size());
    g_CyclePos = static_cast<std::int16_t>(position);
  }
  static void ShowRow(const QString& text) { SetCycle({{text, "0", ""}}, 1); }

  std::vector<QString> spokenTexts() const {
    std::vector<QString> texts;
    for (const auto& utterance : speech->spoken) texts.push_back(utterance.text);
    return texts;
  }

  platform::SpeechControl& source() { return bar().spkSpeakSource; }
  platform::SpeechControl& target() { return bar().spkSpeakTarget; }

  ScopedRecordingSpeech speech;
};

TEST_F(Speech, SpeakWordChoosesTheEngineByTheWordLetter) {
  ShowRow("苹果  n. apple");
  g_SourceLang = "C";
  SpeakWord();
  ShowRow("apple  n. 苹果");
  g_SourceLang = "A";
  SpeakWord();
  g_SourceLang = "F";
  SelectWordVoice();
  ShowRow("pomme  n. 苹果");
  SpeakWord();

  ASSERT_EQ(speech->spoken.size(), 3u);
  EXPECT_EQ(speech->spoken[0].text, "苹果");
  EXPECT_EQ(speech->spoken[0].voice, kMandarin);
  EXPECT_FALSE(speech->spoken[0].async());
  EXPECT_EQ(speech->spoken[1].text, "apple");
  EXPECT_EQ(speech->spoken[1].voice, kUsEnglish);
  EXPECT_FALSE(speech->spoken[1].async());
  EXPECT_EQ(speech->spoken[2].text, "pomme");
  EXPECT_EQ(speech->spoken[2].voice, kFrenchEngine);
  EXPECT_TRUE(speech->spoken[2].async());
}

TEST_F(Speech, SpeakWordSaysAWordOnceUntilAKillForgetsIt) {
  ShowRow("apple  n.");
  SpeakWord();
  SpeakWord();
  EXPECT_EQ(g_LastSpokenWord, "apple");
  g_LastSpokenWord = ":";  // what the kill sets
  SpeakWord();
  EXPECT_EQ(spokenTexts(), (std::vector<QString>{"apple", "apple"}));
}

TEST_F(Speech, SpeakWordCleansTheWordAndSkipsMeaningRows) {
  g_MeaningSymbolStart = "/";
  ShowRow("bank（银行）[bæŋk]/x  n.");
  SpeakWord();
  ShowRow(">   苹果");
  SpeakWord();
  EXPECT_EQ(g_LastSpokenWord, ">");
  // A position past the table reads as an empty row: nothing is said, nothing breaks.
  SetCycle({{"pear  n.", "0", ""}}, 5);
  SpeakWord();
  EXPECT_EQ(g_LastSpokenWord, "");
  EXPECT_EQ(spokenTexts(), (std::vector<QString>{"bank"}));
}

TEST_F(Speech, SpeakWordQueuesTheMeaningInTheTwoLanguageMode) {
  g_SoundMode = "2";
  g_TargetLang = "F";
  ShowRow("apple  pomme, fruit ");
  SpeakWord();
  EXPECT_EQ(g_PendingSpeech, "pomme, fruit");
  ShowRow("word");
  SpeakWord();
  EXPECT_EQ(g_PendingSpeech, "word");

  g_TargetLang = "C";
  ShowRow("apple  n. 苹果，水果");
  SpeakWord();
  EXPECT_EQ(g_PendingSpeech, "苹果");

  g_SoundMode = "1";
  ShowRow("pear  n. 梨；水果");
  SpeakWord();
  EXPECT_EQ(g_PendingSpeech, "苹果");
}

TEST_F(Speech, FirstMeaningPartTakesTheFirstChineseClause) {
  g_PendingSpeech = "old";
  ShowRow("苹果；水果");
  FirstMeaningPart();
  EXPECT_EQ(g_PendingSpeech, "苹果");

  // Column 2 gives the 1-based position the scan starts at.
  SetCycle({{"苹果  n. 水果，x", "0", "3"}}, 1);
  FirstMeaningPart();
  EXPECT_EQ(g_PendingSpeech, "水果");

  // Single-byte characters after the clause's start belong to it.
  ShowRow("n. 苹果 ok");
  FirstMeaningPart();
  EXPECT_EQ(g_PendingSpeech, "苹果 ok");

  // One double-byte character and nothing after it, no Chinese at all, or no row: nothing queued.
  for (const QString& row : {QString("n. 果"), QString("apple, fruit"), QString("，，")}) {
    g_PendingSpeech = "kept";
    ShowRow(row);
    FirstMeaningPart();
    EXPECT_EQ(g_PendingSpeech, "kept") << row.toStdString();
  }
  SetCycle({}, 3);
  FirstMeaningPart();
  EXPECT_EQ(g_PendingSpeech, "kept");
}

TEST_F(Speech, QueueWaitsForSilenceAndNeverRepeatsItself) {
  g_TargetLang = "A";
  g_PendingSpeech = "fruit";
  speech->speaking = true;
  SpeechQueueTick();
  EXPECT_TRUE(speech->spoken.empty());
  EXPECT_EQ(g_LastSpoken, "");

  speech->speaking = false;
  SpeechQueueTick();
  SpeechQueueTick();
  ASSERT_EQ(speech->spoken.size(), 1u);
  EXPECT_EQ(speech->spoken[0].text, "fruit");
  EXPECT_EQ(speech->spoken[0].voice, kUsEnglish);
  EXPECT_TRUE(speech->spoken[0].async());
  EXPECT_EQ(g_LastSpoken, "fruit");

  g_TargetLang = "F";
  SelectMeaningVoice();
  g_PendingSpeech = "fruit rouge";
  SpeechQueueTick();
  ASSERT_EQ(speech->spoken.size(), 2u);
  EXPECT_EQ(speech->spoken[1].voice, kFrenchEngine);
  EXPECT_EQ(g_LastSpoken, "fruit rouge");
}

TEST_F(Speech, QueueCutsAChineseMeaningToTwoCharactersPerSecond) {
  g_TargetLang = "C";
  g_Speed = 3000;
  g_PendingSpeech = "一二三四五六七八";
  SpeechQueueTick();
  EXPECT_EQ(g_PendingSpeech, "一二三四五六");
  EXPECT_EQ(g_LastSpoken, "一二三四五六");

  g_Speed = 2500;  // not a whole number of seconds: spoken whole
  g_PendingSpeech = "一二三四五六七八";
  SpeechQueueTick();

  ASSERT_EQ(speech->spoken.size(), 2u);
  EXPECT_EQ(speech->spoken[0].text, "一二三四五六");
  EXPECT_EQ(speech->spoken[0].voice, kMandarin);
  EXPECT_TRUE(speech->spoken[0].async());
  EXPECT_EQ(speech->spoken[1].text, "一二三四五六七八");
}

TEST_F(Speech, WordSelectionPicksTheControlEngineByLocale) {
  g_SourceLang = "G";
  SelectWordVoice();
  EXPECT_EQ(g_VoiceLCID, "1031");
  EXPECT_TRUE(g_WordVoiceFound);
  EXPECT_EQ(source().engineLocaleId(source().currentEngine()), "1031");

  // English needs no engine: the English voice speaks it in the word step.
  g_SourceLang = "A";
  SelectWordVoice();
  EXPECT_EQ(g_VoiceLCID, "1033");
  EXPECT_TRUE(g_WordVoiceFound);
  EXPECT_EQ(source().engineLocaleId(source().currentEngine()), "1031");

  g_SourceLang = "C";
  g_VoiceWord.reset();
  SelectWordVoice();
  ASSERT_NE(g_VoiceWord, nullptr);
  EXPECT_EQ(g_VoiceWord->voice(), "Microsoft Simplified Chinese");
  EXPECT_TRUE(g_WordVoiceFound);
  EXPECT_EQ(g_VoiceLCID, "1033");  // "C" has no locale of its own
}

TEST_F(Speech, MeaningSelectionPicksTheTargetEngineOrTheChineseVoice) {
  g_TargetLang = "R";
  SelectMeaningVoice();
  EXPECT_EQ(g_MeaningLCID, "1049");
  EXPECT_TRUE(g_MeaningVoiceFound);
  EXPECT_EQ(target().engineLocaleId(target().currentEngine()), "1049");

  g_TargetLang = "C";
  g_VoiceLCID = "1036";
  SelectMeaningVoice();
  EXPECT_EQ(g_VoiceLCID, "1033");
  EXPECT_EQ(g_MeaningLCID, "1049");
  EXPECT_EQ(g_VoiceMeaning->voice(), "Microsoft Simplified Chinese");
}

TEST_F(Speech, UnfoundEnginesAreNamedInTheSoundMenu) {
  frmSysMenu& menu = frmSysMenu::instance();
  g_SourceLang = "Q";
  g_TargetLang = "X";
  g_VoiceLCID = "9999";
  g_MeaningLCID = "8888";
  g_WordVoiceFound = g_MeaningVoiceFound = false;
  SelectWordVoice();
  EXPECT_EQ(menu.mnuSysTraySSound->caption(), "Q:no voice (word)");
  EXPECT_EQ(menu.mnuSysTrayDSound->caption(), "Q:no voice (meaning)");
  SelectMeaningVoice();
  EXPECT_EQ(g_VoiceLCID, "9999");
  EXPECT_EQ(g_MeaningLCID, "8888");
  EXPECT_EQ(menu.mnuSysTraySSound->caption(), "Q:X:no voice (word)");
  EXPECT_EQ(menu.mnuSysTrayDSound->caption(), "Q:X:no voice (meaning)");

  // Word side found, meaning side a Chinese library without the Chinese voice installed.
  speech->voices.erase(speech->voices.begin() + 1);
  g_SourceLang = "A";
  g_TargetLang = "C";
  SelectWordVoice();
  SelectMeaningVoice();
  EXPECT_FALSE(g_MeaningVoiceFound);
  EXPECT_EQ(g_VoiceMeaning->voice(), "Microsoft Anna - English (United States)");
  EXPECT_EQ(menu.mnuSysTrayDSound->caption(), "C:no voice (meaning)");
}

TEST_F(Speech, CurrentTextSpeaksTheNextRowAndOnlyOnceDuringAKill) {
  g_SourceLang = "A";
  SetCycle({{"apple  n.", "0", ""}, {"pear  n.", "1", ""}, {">  梨", "1", ""}}, 1);
  SpeakCurrentText();
  SpeakCurrentText();
  EXPECT_EQ(g_LastCurrentSpoken, "pear");

  g_KillSpeaking = true;
  g_KillSpeakCount = 0;
  g_LastSpokenWord = ":";
  g_CyclePos = 0;
  SpeakCurrentText();
  SpeakCurrentText();
  EXPECT_EQ(g_LastSpokenWord, ":apple");
  EXPECT_EQ(g_KillSpeakCount, 1);

  g_KillSpeaking = false;
  g_CyclePos = 2;  // a meaning row is never spoken
  SpeakCurrentText();
  g_CyclePos = 3;  // past the table: an empty word
  SpeakCurrentText();
  EXPECT_EQ(g_LastCurrentSpoken, "");

  ASSERT_EQ(spokenTexts(), (std::vector<QString>{"pear", "apple"}));
  EXPECT_EQ(speech->spoken[0].voice, kUsEnglish);  // the word-side control's first engine
  EXPECT_TRUE(speech->spoken[0].async());
}

TEST_F(Speech, CurrentTextOfAChineseLibrarySpeaksThroughTheWordVoice) {
  g_SourceLang = "C";
  SetCycle({{"苹果  n.", "0", ""}, {"梨  n.", "1", ""}}, 1);
  g_SoundMode = "2";
  ShowCurrentItem();
  EXPECT_EQ(g_CurrentText, "苹果  n.");
  g_SoundMode = "0";
  ShowCurrentItem();
  ASSERT_EQ(speech->spoken.size(), 1u);
  EXPECT_EQ(speech->spoken[0].text, "梨");
  EXPECT_EQ(speech->spoken[0].voice, kMandarin);
  EXPECT_TRUE(speech->spoken[0].async());
}

TEST_F(Speech, SpeechOffSilencesTheRunAndClearsTheSetting) {
  g_LibraryFileName = "Words.abc";
  platform::WriteProfileString(folders().libraryFolder() + "Words.ini", "Normal", "WordSpeak", "2");
  bar().spkSpeakSource_SpeechOff(0, 0);
  EXPECT_EQ(g_SoundMode, "False");
  EXPECT_FALSE(source().isVisible());
  EXPECT_EQ(platform::ReadProfileString(folders().libraryFolder() + "Words.ini", "Normal", "WordSpeak", "Error"), "");

  // The text-reading edition, told by the program's name, clears its own key and leaves the other.
  {
    testing_support::ScopedApplicationName edition("CorvelTextReader");
    platform::WriteProfileString(folders().libraryFolder() + "Words.ini", "Normal", "WordSpeak", "2");
    platform::WriteProfileString(folders().libraryFolder() + "Words.ini", "Normal", "TextSpeak", "2");
    SpeechOff();
  }
  EXPECT_EQ(platform::ReadProfileString(folders().libraryFolder() + "Words.ini", "Normal", "TextSpeak", "Error"), "");
  EXPECT_EQ(platform::ReadProfileString(folders().libraryFolder() + "Words.ini", "Normal", "WordSpeak", "Error"), "2");
}

TEST_F(Speech, TheBarsStepAndQueueTimerSpeakWordAndMeaning) {
  g_SourceLang = "A";
  g_TargetLang = "A";
  g_SoundMode = "2";
  SetCycle({{"apple  fruit", "0", ""}}, 1);
  g_CycleFirst = g_CycleLast = 1;
  bar().runtimer();
  ASSERT_EQ(spokenTexts(), (std::vector<QString>{"apple"}));
  EXPECT_EQ(g_PendingSpeech, "fruit");

  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 300) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  ASSERT_EQ(spokenTexts(), (std::vector<QString>{"apple", "fruit"}));
  EXPECT_TRUE(speech->spoken[1].async());
  EXPECT_EQ(g_LastSpoken, "fruit");
}

}  // namespace
