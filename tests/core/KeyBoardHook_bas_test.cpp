#include "core/KeyBoardHook_bas.h"

#include "bar/frmSysMenu.h"
#include "core/segment_navigation_bas.h"
#include "tests/support/hotkey_fixture.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using namespace std::chrono_literals;
using platform::KbdLlHookStruct;
using platform::KeyMessage;
namespace vk = platform::vk;

class HotKeyTest : public testing_support::HotKeyFixture {
 protected:
  // Calls the hook procedure with a fresh record; returns its result and what it recorded.
  struct HookOutcome {
    long result;
    std::optional<QString> recorded;
  };
  HookOutcome press(std::uint32_t vkCode, std::uint32_t flags, int nCode = platform::HC_ACTION) {
    g_LastHotKey = "none";
    bar_->Tim_KeyHook->setEnabled(false);
    KbdLlHookStruct record;
    record.vkCode = vkCode;
    record.flags = flags;
    const long result = LowLevelKeyboardProc(nCode, KeyMessage::KeyUp, record);
    const bool recorded = g_LastHotKey != "none";
    EXPECT_EQ(bar_->Tim_KeyHook->enabled(), recorded) << "the dispatch timer follows the recording";
    return {result, recorded ? std::optional<QString>(g_LastHotKey) : std::nullopt};
  }

  // Five segments of two lines, cut by the fixed segment size.
  void UseFiveSegments() {
    WriteAndLoadNumberedLibrary(10);
    UseFixedSegments("2", "0001");
    PrepareSegment(false);
  }
};

TEST_F(HotKeyTest, HookActsOnPlainReleasesAndAltPressesOfTheHotKeysOnly) {
  struct Case {
    std::uint32_t vkCode;
    std::uint32_t flags;
    bool altHeld;
    std::optional<QString> recorded;
    long result;
  };
  const Case cases[] = {
      {vk::Escape, 0x80, false, "vbKeyEscape", 0},   // plain release
      {vk::Pause, 0x80, false, "vbKeyEscape", 0},    // Pause kills too
      {vk::F9, 0x80, false, "vbKeyF9", 0},           // passed on to the focused program
      {vk::F10, 0x20, true, "vbKeyF10", -1},         // Alt+F10 acts on the press and goes no further
      {vk::F12, 0x20, true, "vbKeyF12", -1},
      {vk::Escape, 0x20, true, "vbKeyEscape", 0},    // Alt+Escape still reaches the system
      {vk::F11, 0x00, false, std::nullopt, 0},       // a plain press
      {vk::F10, 0x90, false, std::nullopt, 0},       // an injected release
      {vk::F10, 0x30, true, std::nullopt, 0},        // an injected Alt press
      {vk::F10, 0xA0, true, std::nullopt, 0},        // a release while Alt is held
      {vk::Escape, 0x81, false, std::nullopt, 0},    // an extended key
      {'A', 0x80, false, std::nullopt, 0},           // not a hot key
      {vk::F1, 0x20, true, std::nullopt, 0},
  };
  for (const Case& c : cases) {
    system_->altHeld = c.altHeld;
    const HookOutcome outcome = press(c.vkCode, c.flags);
    EXPECT_EQ(outcome.recorded, c.recorded) << std::hex << "vk " << c.vkCode << " flags " << c.flags;
    EXPECT_EQ(outcome.result, c.result) << std::hex << "vk " << c.vkCode << " flags " << c.flags;
  }
  // Only a hook call for an ordinary keyboard event counts.
  EXPECT_FALSE(press(vk::Escape, 0x80, 1).recorded);
}

TEST_F(HotKeyTest, DispatchTickRunsOnceWithTheLastKeyAndDisablesItself) {
  WriteAndLoadNumberedLibrary(5);
  g_LearnMode = 0;
  PrepareSegment(false);
  system_->altHeld = true;
  press(vk::F9, 0x20);
  ASSERT_TRUE(bar_->Tim_KeyHook->enabled());
  bar_->Tim_KeyHook_Timer();
  EXPECT_FALSE(bar_->Tim_KeyHook->enabled());
  EXPECT_EQ(g_LearnMode, 1);

  const QString before = g_CurrentText;
  DispatchHotKey("vbKeyF8");
  EXPECT_EQ(g_LearnMode, 1);
  EXPECT_EQ(g_CurrentText, before);
}

TEST_F(HotKeyTest, LearnModeKeyStepsEveryPressButRebuildsAtMostOnceASecond) {
  WriteAndLoadNumberedLibrary(5);
  g_LearnMode = 0;
  PrepareSegment(false);
  frmSysMenu& menu = frmSysMenu::instance();

  OnHotKeyLearnMode();  // 0 -> 1, rebuilt: one item per line
  EXPECT_EQ(g_LearnMode, 1);
  EXPECT_EQ(NormalSetting("WordLearnMode"), "1");
  EXPECT_TRUE(menu.mnuSysTrayMode101->checked());
  EXPECT_EQ(menu.mnuSysTrayMode1->caption(), "Mode B");
  EXPECT_EQ(g_CycleCount, 5);

  AdvanceClock(500ms);
  OnHotKeyLearnMode();  // 1 -> 2 within the second: stored and shown, not rebuilt
  EXPECT_EQ(g_LearnMode, 2);
  EXPECT_EQ(NormalSetting("WordLearnMode"), "2");
  EXPECT_TRUE(menu.mnuSysTrayMode102->checked());
  EXPECT_FALSE(menu.mnuSysTrayMode101->checked());
  EXPECT_EQ(g_CurrentText, "=====" + QString("Recite=====").repeated(10));
  EXPECT_EQ(g_CycleCount, 5);

  AdvanceClock(1s);
  OnHotKeyLearnMode();  // 2 -> 0, a second after the last rebuild: rebuilt
  EXPECT_EQ(g_LearnMode, 0);
  EXPECT_TRUE(menu.mnuSysTrayMode100->checked());
  EXPECT_EQ(menu.mnuSysTrayMode1->caption(), "Mode A");
  EXPECT_EQ(g_CycleCount, 5);
  EXPECT_EQ(g_CycleTable[0].text, "w1");

  // Elapsed time counts, not the seconds of the time of day: a whole minute later acts too.
  AdvanceClock(60s);
  OnHotKeyLearnMode();
  EXPECT_EQ(g_CycleTable[0].text, "w1  x1");
  EXPECT_TRUE(system_->pauses.empty()) << "F9 holds nothing";
}

TEST_F(HotKeyTest, KillKeyKillsTheWordOnTheBarOnceASecondAndSoundsEveryTime) {
  WriteAndLoadNumberedLibrary(6);
  g_LearnMode = 0;
  g_SoundMode = "False";  // speech turned off by the speech control: the recycle sound still plays
  PrepareSegment(true);
  Steps(3);
  ASSERT_EQ(g_CurrentText, "w3");

  OnHotKeyKill();
  EXPECT_EQ(KilledFileLines(), QStringList{"*w3@x3"});
  EXPECT_EQ(TodayCount(), "1");
  EXPECT_EQ(system_->pauses, std::vector<std::chrono::milliseconds>{300ms});
  EXPECT_FALSE(g_KillBusy) << "the next kill is not shut out";

  Steps(1);
  ASSERT_FALSE(g_CurrentText.startsWith('='));
  OnHotKeyKill();  // within the second: banner and sound, no kill
  EXPECT_EQ(g_CurrentText, QString(213, '='));
  EXPECT_EQ(KilledFileLines().size(), 1);

  Steps(1);
  const QString shown = g_CurrentText;
  AdvanceClock(1s);
  OnHotKeyKill();
  EXPECT_EQ(KilledFileLines().size(), 2);
  EXPECT_TRUE(KilledFileLines().contains("*" + shown + "@x" + shown.mid(1)));
  EXPECT_EQ(TodayCount(), "2");
  EXPECT_EQ(system_->soundsPlayed.size(), 3);
  EXPECT_EQ(system_->soundsPlayed.value(0), folders_.programFolder() + "Windows Recycle.wav");

  g_SoundMode = "0";
  OnHotKeyKill();
  EXPECT_EQ(system_->soundsPlayed.size(), 3) << "mute plays no sound";
}

TEST_F(HotKeyTest, AKillKeyThatKillsNothingLeavesThePositionAndTheWaitAlone) {
  WriteAndLoadNumberedLibrary(3);
  g_LearnMode = 0;
  PrepareSegment(true);
  Steps(3);  // the last row shown: the position stands one past the end
  OnHotKeyKill();
  ASSERT_EQ(KilledFileLines(), QStringList{"*w3@x3"});
  g_RangeChanged = g_RestartCycle = false;

  // Refused: while a kill runs, within the second, or with no word on the bar (the banner).
  Steps(2);
  g_KillBusy = true;
  OnHotKeyKill();
  g_KillBusy = false;
  Steps(1);
  const std::int16_t position = g_CyclePos;
  OnHotKeyKill();
  AdvanceClock(1500ms);
  OnHotKeyKill();  // the banner of the refused press is on the bar: no word, no action
  EXPECT_EQ(g_CurrentText, QString(213, '='));
  EXPECT_EQ(KilledFileLines().size(), 1);
  EXPECT_EQ(g_CyclePos, position);
  EXPECT_FALSE(g_RangeChanged);
  EXPECT_FALSE(g_RestartCycle);

  // The next step shows a real row, and a press on it kills at once: the banner-only press did
  // not restart the one-second wait.
  Steps(1);
  ASSERT_TRUE(g_CurrentText.startsWith('w')) << g_CurrentText.toStdString();
  AdvanceClock(500ms);
  OnHotKeyKill();
  EXPECT_EQ(KilledFileLines().size(), 2);
}

TEST_F(HotKeyTest, SegmentKeysDoNothingAtTheEndsAndStepWithABanner) {
  UseFiveSegments();
  const QString before = g_CurrentText;
  OnHotKeyPrevSegment();  // at the first segment: not even the banner
  EXPECT_EQ(g_CurrentText, before);
  EXPECT_TRUE(system_->pauses.empty());
  EXPECT_EQ(g_SegmentNo, "0001");

  // Within a second of the last action: banner and pause, no step.
  g_LastKillTime = system_->clock;
  OnHotKeyNextSegment();
  EXPECT_EQ(g_CurrentText, ">>>>>" + QString("On:0002>>>>>").repeated(10));
  EXPECT_EQ(system_->pauses, std::vector<std::chrono::milliseconds>{300ms});
  EXPECT_EQ(g_SegmentNo, "0001");

  AdvanceClock(1s);
  OnHotKeyNextSegment();
  EXPECT_EQ(g_SegmentNo, "0002");
  EXPECT_EQ(NormalSetting("WordSegmentNo"), "0002");

  g_SegmentNo = "0005";
  const QString atLast = g_CurrentText;
  OnHotKeyNextSegment();
  EXPECT_EQ(g_CurrentText, atLast);
  EXPECT_EQ(g_SegmentNo, "0005");

  g_LastKillTime = system_->clock;
  OnHotKeyPrevSegment();
  EXPECT_EQ(g_CurrentText, "<<<<<" + QString("Back:0004<<<<<").repeated(10));
  AdvanceClock(1s);
  OnHotKeyPrevSegment();
  EXPECT_EQ(g_SegmentNo, "0004");
}

TEST_F(HotKeyTest, SegmentKeyBannerNamesTheGroup) {
  UseGroups("0005");
  QStringList lines{"{AC}"};
  for (int group = 1; group <= 5; ++group) lines << QStringLiteral("<G%1>").arg(group) << QStringLiteral("g%1@x").arg(group);
  WriteAndLoadLibrary(lines);
  PrepareSegment(false);
  g_LastKillTime = system_->clock;
  OnHotKeyPrevSegment();
  EXPECT_EQ(g_CurrentText, "<<<<<" + QString("Back:<G4><<<<<").repeated(10));
}

TEST_F(HotKeyTest, SegmentModeKeyShowsTheModeSwitchedTo) {
  WriteAndLoadNumberedLibrary(10);
  PrepareSegment(false);
  g_LastKillTime = system_->clock;
  OnHotKeySegmentMode();
  EXPECT_EQ(g_CurrentText, "=====" + QString("Groups=====").repeated(10));
  EXPECT_FALSE(g_DoSegment) << "switched only a second after the last action";

  AdvanceClock(1s);
  OnHotKeySegmentMode();
  EXPECT_TRUE(g_DoSegment);
  EXPECT_EQ(NormalSetting("WordDoSegment"), "X");

  g_LastKillTime = system_->clock;
  OnHotKeySegmentMode();
  EXPECT_EQ(g_CurrentText, "=====" + QString("Whole=====").repeated(10));
}

TEST_F(HotKeyTest, SecondInstallIsRefusedWithAMessage) {
  ASSERT_TRUE(g_KeyHooked) << "the bar's start installs the hook";
  const std::uint32_t handle = g_hKeyHook;
  InstallKeyboardHook();
  ASSERT_EQ(dialogs_->messages.size(), 1u);
  EXPECT_EQ(dialogs_->messages[0].text, "Don't hook WH_KEYBOARD_LL twice or you will be unable to unhook it.");
  EXPECT_EQ(g_hKeyHook, handle);
  RemoveKeyboardHook();
  EXPECT_FALSE(g_KeyHooked);
}

TEST_F(HotKeyTest, MissingDisplayIsToldOncePerRun) {
  const QByteArray display = qgetenv("DISPLAY");
  qunsetenv("DISPLAY");
  SetKeyboardHookFailureReporting(true);
  ReinstallKeyboardHook();
  ReinstallKeyboardHook();
  SetKeyboardHookFailureReporting(false);
  if (!display.isEmpty()) qputenv("DISPLAY", display);

  EXPECT_TRUE(g_KeyHooked);
  EXPECT_EQ(g_hKeyHook, 0u);
  ASSERT_EQ(dialogs_->messages.size(), 1u);
  EXPECT_TRUE(dialogs_->messages[0].text.startsWith("No hot keys here\n\n")) << dialogs_->messages[0].text.toStdString();
  EXPECT_TRUE(dialogs_->messages[0].text.contains("DISPLAY"));
}

}  // namespace
