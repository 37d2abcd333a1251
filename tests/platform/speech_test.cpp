#include "platform/speech/espeak_engine.h"
#include "platform/speech/espeak_utterance.h"
#include "platform/speech/speech.h"
#include "tests/support/recording_speech.h"

#include <gtest/gtest.h>

#include <QFile>

#include <chrono>
#include <cstdio>
#include <thread>

#include <unistd.h>

namespace {

using platform::SpeakFlags;
using platform::VoiceSelection;
using testing_support::ScopedRecordingSpeech;

const VoiceSelection kMandarin{QStringLiteral("cmn-latn-pinyin"), {}};
const VoiceSelection kUsEnglish{{}, QStringLiteral("en-us")};

TEST(VoiceCatalog, MapsTheProgramsDescriptionsAndLeavesOutMbrola) {
  const std::vector<platform::InstalledVoice> installed{
      {"Chinese (Mandarin, latin as English)", "sit/cmn", {"cmn", "zh"}},
      {"en-us-mbrola", "mb/mb-us1", {"en-us"}},
      {"Chinese (Mandarin, latin as Pinyin)", "sit/cmn-Latn-pinyin", {"cmn-latn-pinyin", "zh"}},
      {"English (America)", "gmw/en-US", {"en-us", "en"}},
      {"Other American", "xx/en-US-2", {"en-us"}},
  };
  const auto described = platform::DescribeVoices(installed);
  ASSERT_EQ(described.size(), 4u);
  EXPECT_EQ(described[0].description, "Chinese (Mandarin, latin as English)");
  EXPECT_EQ(described[0].selection, (VoiceSelection{"sit/cmn", {}}));
  EXPECT_EQ(described[1].description, "Microsoft Simplified Chinese");
  EXPECT_EQ(described[1].selection, kMandarin);
  EXPECT_EQ(described[2].description, "Microsoft Anna - English (United States)");
  EXPECT_EQ(described[2].selection, kUsEnglish);
  // Only the first voice of a language takes the program's description.
  EXPECT_EQ(described[3].description, "Other American");
}

TEST(SpeechVoice, SpeaksWithTheChosenVoiceAndFlags) {
  ScopedRecordingSpeech speech;
  platform::SpeechVoice voice;
  EXPECT_TRUE(voice.voices().contains("Microsoft Simplified Chinese"));
  EXPECT_TRUE(voice.voices().contains("French (France)"));
  EXPECT_EQ(voice.voice(), "Microsoft Anna - English (United States)");

  voice.speak("apple", SpeakFlags::Sync);
  ASSERT_TRUE(voice.setVoice("Microsoft Simplified Chinese"));
  voice.speak("苹果", SpeakFlags::Async);
  voice.speak("水果", SpeakFlags::Async | SpeakFlags::PurgeBeforeSpeak);

  ASSERT_EQ(speech->spoken.size(), 3u);
  EXPECT_EQ(speech->spoken[0].text, "apple");
  EXPECT_EQ(speech->spoken[0].voice, kUsEnglish);
  EXPECT_FALSE(speech->spoken[0].async());
  EXPECT_EQ(speech->spoken[1].voice, kMandarin);
  EXPECT_TRUE(speech->spoken[1].async());
  EXPECT_TRUE(platform::HasFlag(speech->spoken[2].flags, SpeakFlags::PurgeBeforeSpeak));

  EXPECT_FALSE(voice.isSpeaking());
  speech->speaking = true;
  EXPECT_TRUE(voice.isSpeaking());
}

TEST(SpeechVoice, UnknownDescriptionKeepsTheVoiceInUse) {
  ScopedRecordingSpeech speech;
  speech->voices.erase(speech->voices.begin() + 1);  // no pinyin voice installed
  platform::SpeechVoice voice;
  EXPECT_FALSE(voice.setVoice("Microsoft Simplified Chinese"));
  EXPECT_FALSE(voice.setVoice("microsoft anna - english (united states)"));  // descriptions match exactly
  EXPECT_EQ(voice.voice(), "Microsoft Anna - English (United States)");
  voice.speak("word", SpeakFlags::Async);
  ASSERT_EQ(speech->spoken.size(), 1u);
  EXPECT_EQ(speech->spoken[0].voice, kUsEnglish);
}

TEST(SpeechControl, ReportsOneEnginePerLibraryLanguage) {
  const platform::SpeechControl control;
  ASSERT_EQ(control.engineCount(), 11);
  QStringList ids;
  for (int i = 1; i <= control.engineCount(); ++i) ids.append(control.engineLocaleId(i));
  EXPECT_EQ(ids.join(','), "1033,2057,1043,1036,1031,1040,1041,1042,1046,1049,1034");
  EXPECT_EQ(control.engineLocaleId(0), "");
  EXPECT_EQ(control.engineLocaleId(12), "");
}

TEST(SpeechControl, SpeaksAsynchronouslyWithTheSelectedEngine) {
  ScopedRecordingSpeech speech;
  platform::SpeechControl control;
  EXPECT_EQ(control.currentEngine(), 1);
  control.speak("hello");
  ASSERT_TRUE(control.selectEngine(4));
  EXPECT_FALSE(control.selectEngine(0));
  EXPECT_FALSE(control.selectEngine(12));
  EXPECT_EQ(control.currentEngine(), 4);
  control.speak("bonjour");

  ASSERT_EQ(speech->spoken.size(), 2u);
  EXPECT_EQ(speech->spoken[0].voice, kUsEnglish);
  EXPECT_EQ(speech->spoken[1].text, "bonjour");
  EXPECT_EQ(speech->spoken[1].voice.language, "fr-fr");
  EXPECT_TRUE(speech->spoken[1].async());

  speech->speaking = true;
  EXPECT_TRUE(control.isSpeaking());
}

TEST(SpeechControl, EveryEngineLanguageHasAnEspeakVoice) {
  const auto installed = platform::EspeakEngine::instance().installedVoices();
  for (const platform::LocaleEngine& engine : platform::LocaleEngines()) {
    const bool found = std::any_of(installed.begin(), installed.end(), [&](const platform::InstalledVoice& voice) {
      return voice.languages.contains(QLatin1String(engine.language));
    });
    EXPECT_TRUE(found) << engine.language;
  }
}

TEST(EspeakUtterance, VoiceElementEscapesTheText) {
  const auto byName = platform::VoicedUtterance("a<b & \"c\"", kMandarin);
  EXPECT_TRUE(byName.ssml);
  EXPECT_EQ(byName.utf8, R"(<voice name="cmn-latn-pinyin">a&lt;b &amp; &quot;c&quot;</voice>)");
  EXPECT_EQ(platform::VoicedUtterance("x", kUsEnglish).utf8, R"(<voice xml:lang="en-us">x</voice>)");
}

// These run before anything speaks through espeak-ng: once its audio output is open it cannot
// synthesise to memory any more.
TEST(EspeakSynthesis, SynthesisesAnEnglishAndAChineseWord) {
  EXPECT_GT(platform::SynthesizeToSamples("apple", "Microsoft Anna - English (United States)"), 4000u);
  EXPECT_GT(platform::SynthesizeToSamples("苹果", "Microsoft Simplified Chinese"), 4000u);
  EXPECT_EQ(platform::SynthesizeToSamples("apple", "No Such Voice"), 0u);
}

// Redirects standard error into a temporary file while it lives.
class StderrCapture {
 public:
  StderrCapture() : file_(std::tmpfile()), saved_(dup(STDERR_FILENO)) {
    std::fflush(stderr);
    dup2(fileno(file_), STDERR_FILENO);
  }
  ~StderrCapture() {
    restore();
    std::fclose(file_);
  }
  StderrCapture(const StderrCapture&) = delete;
  StderrCapture& operator=(const StderrCapture&) = delete;

  QString finish() {
    restore();
    QFile captured;
    std::rewind(file_);
    captured.open(file_, QIODevice::ReadOnly);
    return QString::fromLocal8Bit(captured.readAll());
  }

 private:
  void restore() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    dup2(saved_, STDERR_FILENO);
    close(saved_);
    saved_ = -1;
  }
  std::FILE* file_;
  int saved_;
};

// With a sound device this plays a few words; without one (CI, this kind of machine) speaking
// must stay silent, return promptly and say so in one line at most.
TEST(EspeakPlayback, SpeakingNeverHangsNorFloodsTheTerminal) {
  using Clock = std::chrono::steady_clock;
  StderrCapture capture;
  platform::SpeechVoice english;
  platform::SpeechVoice chinese;
  ASSERT_TRUE(chinese.setVoice("Microsoft Simplified Chinese"));
  platform::SpeechControl control;
  ASSERT_TRUE(control.selectEngine(4));

  auto start = Clock::now();
  english.speak("apple", SpeakFlags::Async);
  chinese.speak("苹果", SpeakFlags::Async);
  control.speak("pomme");
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(1)) << "asynchronous speaking blocked";

  start = Clock::now();
  chinese.speak("水果", SpeakFlags::Sync | SpeakFlags::PurgeBeforeSpeak);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(15));
  while (english.isSpeaking() && Clock::now() - start < std::chrono::seconds(15))
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_FALSE(english.isSpeaking());

  const QString errors = capture.finish();
  EXPECT_LE(errors.count('\n'), 1) << errors.toStdString();
}

}  // namespace
