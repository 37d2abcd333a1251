// The kill key pressed while the bar says a word aloud: saying the word holds the interface
// thread, so the word timer is already due when the key is noticed. The key must still kill the
// word it was pressed for, each time it is pressed.
#include "bar/SkolvaneBar.h"
#include "core/speech_bas.h"
#include "tests/support/hotkey_fixture.h"
#include "tests/support/recording_speech.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

class HotKeysWhileSpeaking : public testing_support::HotKeyFixture {
 protected:
  testing_support::ScopedRecordingSpeech speech_;
};

// The learner releases Escape, as the keyboard hook reports it.
void ReleaseEscape() {
  platform::KbdLlHookStruct record;
  record.vkCode = platform::vk::Escape;
  record.flags = platform::llkhf::Up;
  LowLevelKeyboardProc(platform::HC_ACTION, platform::KeyMessage::KeyUp, record);
}

TEST_F(HotKeysWhileSpeaking, EscapePressedWhileEachWordIsSaidKillsThatWord) {
  // The word side's letter: "A" says the word with the English voice, "C" with the Chinese one.
  for (const char* wordLetter : {"A", "C"}) {
    SCOPED_TRACE(wordLetter);
    WriteAndLoadNumberedLibrary(6);
    g_LearnMode = 1;  // rows "w1  x1": the word is said, the meaning is not
    g_SoundMode = "1";
    g_SourceLang = wordLetter;
    g_LastSpokenWord.clear();
    CreateBarVoices();
    PrepareSegment(true);
    speech_->whileSayingSynchronously = ReleaseEscape;

    // Four ticks of the word timer, 1.7 s apart (saying a word takes that long). Each tick runs
    // before the key's own: its time came while the word was said, the key's only after.
    for (int tick = 0; tick < 4; ++tick) {
      AdvanceClock(1700ms);
      bar_->Tim_Wait_Timer();
    }
    EXPECT_EQ(KilledFileLines(), (QStringList{"*w1@x1", "*w2@x2"}));
  }
}

}  // namespace
