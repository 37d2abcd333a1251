#include "core/KeyBoardHook_bas.h"

#include "bar/SkolvaneBar.h"
#include "bar/frmSysMenu.h"
#include "core/kill_bas.h"
#include "core/language_bas.h"
#include "core/read_ini_bas.h"
#include "core/segment_navigation_bas.h"
#include "core/segments_bas.h"
#include "core/text_drawing_bas.h"
#include "core/vars_bas.h"
#include "platform/app/folders.h"
#include "platform/dialogs/dialogs.h"
#include "platform/ini/ini.h"
#include "platform/keyhook/keyboard_hook.h"
#include "platform/sound/sound.h"
#include "platform/window/paint_now.h"

#include <array>
#include <functional>
#include <thread>

namespace {

using namespace std::chrono_literals;

// The hot keys' names, as the hook records them and the dispatch tick reads them.
const QString kKeyKill = QStringLiteral("vbKeyEscape");
const QString kKeyLearnMode = QStringLiteral("vbKeyF9");
const QString kKeySegmentMode = QStringLiteral("vbKeyF10");
const QString kKeyPrevSegment = QStringLiteral("vbKeyF11");
const QString kKeyNextSegment = QStringLiteral("vbKeyF12");

// The only event flags the hook acts on: a plain release, or a press while Alt is held. Anything
// else (an extended key, an injected event, a press without Alt, a release with Alt) is passed on.
constexpr std::uint32_t kPlainRelease = platform::llkhf::Up;
constexpr std::uint32_t kPressWithAlt = platform::llkhf::AltDown;
constexpr std::int16_t kKeyHeld = static_cast<std::int16_t>(0x8000);
constexpr long kSwallow = -1;

// After a kill or a segment key the thread is held this long, so the banner stays on the bar.
constexpr auto kHotKeyPause = 300ms;
// A timed action runs only when this much time has passed since the last one ended.
constexpr auto kActionSpacing = 1s;

const QString kRecycleSound = QStringLiteral("Windows Recycle.wav");

std::unique_ptr<platform::KeyboardHook>& InstalledHook() {
  static std::unique_ptr<platform::KeyboardHook> hook;
  return hook;
}

class RealHotKeySystem final : public HotKeySystem {
 public:
  std::chrono::steady_clock::time_point now() override { return std::chrono::steady_clock::now(); }
  void pause(std::chrono::milliseconds duration) override { std::this_thread::sleep_for(duration); }
  std::int16_t keyState(std::uint32_t vkCode) override {
    const auto& hook = InstalledHook();
    return hook ? hook->keyState(vkCode) : std::int16_t{0};
  }
  void playSound(const QString& wavPath) override { platform::PlaySoundAsync(wavPath); }
};

std::unique_ptr<HotKeySystem>& InstalledSystem() {
  static std::unique_ptr<HotKeySystem> system;
  return system;
}

HotKeySystem& System() {
  auto& system = InstalledSystem();
  if (!system) system = std::make_unique<RealHotKeySystem>();
  return *system;
}

// Whether a failed install is told at all (tests without an X server turn it off).
bool& FailureReporting() {
  static bool enabled = true;
  return enabled;
}

void ReportHookUnavailable(const QString& reason) {
  if (!FailureReporting() || g_HookFailureTold) return;
  g_HookFailureTold = true;
  const QString text = GetMessageText(
      QStringLiteral("KeyBoardHook_bas"), QStringLiteral("HookUnavailable"),
      QStringLiteral("The hot keys (Esc, Pause, F9 to F12) do not work in this session; use the tray menu instead."));
  platform::MsgBox(reason.isEmpty() ? text : text + QStringLiteral("\n\n") + reason);
}

// A hot key of the hook's table: its recorded name, and whether its Alt combination goes no
// further (F9 to F12; Alt+Escape still reaches the system).
struct HotKey {
  QString name;
  bool swallowedWithAlt = false;
};

std::optional<HotKey> FindHotKey(std::uint32_t vkCode) {
  namespace vk = platform::vk;
  switch (vkCode) {
    case vk::Escape:
    case vk::Pause:
      return HotKey{kKeyKill, false};
    case vk::F9:
      return HotKey{kKeyLearnMode, true};
    case vk::F10:
      return HotKey{kKeySegmentMode, true};
    case vk::F11:
      return HotKey{kKeyPrevSegment, true};
    case vk::F12:
      return HotKey{kKeyNextSegment, true};
    default:
      return std::nullopt;
  }
}

void RecordHotKey(const QString& name) {
  if (SkolvaneBar::loaded()) SkolvaneBar::instance().Tim_KeyHook->setEnabled(true);
  g_LastHotKey = name;
}

// Runs the action when at least a second has passed since the last timed action ended (or none
// has run yet), then notes when it ended. Elapsed time on a steady clock, so a press a minute
// later or across midnight acts as well.
void RunTimed(const std::function<void()>& action) {
  if (g_LastKillTime && System().now() - *g_LastKillTime < kActionSpacing) return;
  action();
  g_LastKillTime = System().now();
}

// Puts the text on the bar's word row and on screen at once: the hot keys hold the thread after
// their banner, and a drawing left for the event loop would show only once the work is done.
void ShowOnBar(const QString& text) {
  g_CurrentText = text;
  DrawWordText(g_CurrentText, QStringLiteral("U"));
  if (SkolvaneBar::loaded()) platform::PaintNow(*SkolvaneBar::instance().Pic_ShowText);
}

void ShowBanner(const QString& mark, const QString& text) { ShowOnBar(HotKeyBanner(mark, text)); }

// Holds g_KillBusy for one kill and clears it on every way out, so no later kill is shut out.
class KillBusyScope {
 public:
  KillBusyScope() { g_KillBusy = true; }
  ~KillBusyScope() { g_KillBusy = false; }
  KillBusyScope(const KillBusyScope&) = delete;
  KillBusyScope& operator=(const KillBusyScope&) = delete;
};

// ---- Learn mode ---------------------------------------------------------------------------------

// The caption keys of each learn mode, indexed by the mode.
struct LearnModeCaptions {
  const char* banner;  // the mode's own item; its caption is shown on the banner
  const char* parent;  // caption of mnuSysTrayMode1 while the mode is on
};

constexpr std::array<LearnModeCaptions, 3> kLearnModes = {{
    {"mnuSysTrayMode100", "mnuSysTrayMode1_A"},
    {"mnuSysTrayMode101", "mnuSysTrayMode1_B"},
    {"mnuSysTrayMode102", "mnuSysTrayMode1_C"},
}};

bool IsLearnMode(int mode) { return mode >= 0 && mode < static_cast<int>(kLearnModes.size()); }

// Stores the new mode, sets the menu's checks and caption; returns the mode's caption.
QString StoreLearnMode(int mode) {
  const LearnModeCaptions& captions = kLearnModes[static_cast<size_t>(mode)];
  g_LearnMode = static_cast<std::int16_t>(mode);
  g_IniValue = QString::number(mode);
  g_IniResult = platform::WriteProfileString(LibrarySettingsFile(), QStringLiteral("Normal"),
                                             QStringLiteral("WordLearnMode"), g_IniValue);
  frmSysMenu& menu = frmSysMenu::instance();
  const std::array<platform::MenuItem*, 3> items = {menu.mnuSysTrayMode100, menu.mnuSysTrayMode101,
                                                    menu.mnuSysTrayMode102};
  for (size_t i = 0; i < items.size(); ++i) items[i]->setChecked(i == static_cast<size_t>(mode));
  menu.mnuSysTrayMode1->setCaption(GetMenuText(captions.parent));
  return GetMenuText(captions.banner);
}

// ---- Segment steps ------------------------------------------------------------------------------

void StepSegmentByKey(int direction) {
  const bool back = direction < 0;
  if (!(back ? HasPrevSegment() : HasNextSegment())) return;
  const int target = CurrentSegmentNumber() + direction;
  ShowBanner(back ? QStringLiteral("<<<<<") : QStringLiteral(">>>>>"),
             GetMenuText(back ? "mnuSysTrayGroupUpX" : "mnuSysTrayGroupDownX") + QStringLiteral(":") +
                 SegmentLabel(target));
  ReinstallKeyboardHook();
  System().pause(kHotKeyPause);
  RunTimed([back] { back ? PrevSegment(true) : NextSegment(true); });
}

}  // namespace

// ---- The hook -----------------------------------------------------------------------------------

void InstallKeyboardHook() {
  if (g_KeyHooked) {
    platform::MsgBox(QStringLiteral("Don't hook WH_KEYBOARD_LL twice or you will be unable to unhook it."));
    return;
  }
  QString reason;
  InstalledHook() = platform::KeyboardHook::install(LowLevelKeyboardProc, &reason);
  g_hKeyHook = InstalledHook() ? InstalledHook()->handle() : 0;
  g_KeyHooked = true;
  if (!InstalledHook()) ReportHookUnavailable(reason);
}

void RemoveKeyboardHook() {
  InstalledHook().reset();
  g_hKeyHook = 0;
  g_KeyHooked = false;
}

void ReinstallKeyboardHook() {
  RemoveKeyboardHook();
  InstallKeyboardHook();
}

long LowLevelKeyboardProc(int nCode, platform::KeyMessage /*wParam*/, const platform::KbdLlHookStruct& record) {
  bool swallow = false;
  if (nCode == platform::HC_ACTION && (record.flags == kPlainRelease || record.flags == kPressWithAlt)) {
    if (const std::optional<HotKey> key = FindHotKey(record.vkCode)) {
      swallow = key->swallowedWithAlt && (System().keyState(platform::vk::Menu) & kKeyHeld) != 0;
      RecordHotKey(key->name);
    }
  }
  // There is no next hook to call: the platform's hook is the program's only one.
  return swallow ? kSwallow : 0;
}

void DeliverPendingHotKeys() {
  if (InstalledHook()) InstalledHook()->deliverPendingKeys();
}

void DispatchHotKey(const QString& hotKeyName) {
  if (hotKeyName == kKeyKill) {
    OnHotKeyKill();
  } else if (hotKeyName == kKeyLearnMode) {
    OnHotKeyLearnMode();
  } else if (hotKeyName == kKeySegmentMode) {
    OnHotKeySegmentMode();
  } else if (hotKeyName == kKeyPrevSegment) {
    OnHotKeyPrevSegment();
  } else if (hotKeyName == kKeyNextSegment) {
    OnHotKeyNextSegment();
  }
}

// ---- The hot-key procedures ---------------------------------------------------------------------

QString HotKeyBanner(const QString& mark, const QString& text) {
  QString banner = mark;
  for (int i = 0; i < 10; ++i) banner += text + mark;
  return banner;
}

void OnHotKeyKill() {
  // The word is taken before the banner replaces it on the bar.
  const std::optional<ShownWord> shown = FindShownWord();
  ShowOnBar(QString(213, QLatin1Char('=')));
  if (g_SoundMode != QLatin1String("0")) System().playSound(platform::ProgramFolder() + kRecycleSound);
  ReinstallKeyboardHook();
  System().pause(kHotKeyPause);
  // The kill lets window messages run, so another Escape can come in meanwhile: it shows its
  // banner and renews the hook, but never starts a second kill. A press that finds no word on the
  // bar (a banner, a status text) is no action at all: it leaves the one-second wait running, so
  // Escape pressed twice a second still kills about once a second.
  if (g_KillBusy || !shown) return;
  RunTimed([&shown] {
    // Only a kill that runs tells the next step about the changed range: a refused press leaves
    // the position alone, which would otherwise show a row past the end.
    g_RangeChanged = true;
    g_RestartCycle = g_CyclePos == 2;
    const KillBusyScope busy;
    if (g_SegmentRebuilt) {
      KillCurrentWord(shown);
    } else {
      KillCurrentWordAndRebuild(shown);
    }
  });
}

void SwitchLearnMode(int newMode) {
  const QString caption = IsLearnMode(newMode) ? StoreLearnMode(newMode) : QString();
  ShowBanner(QStringLiteral("====="), caption);
  ReinstallKeyboardHook();
  RunTimed([] { PrepareSegment(false); });
}

void OnHotKeyLearnMode() {
  SwitchLearnMode(IsLearnMode(g_LearnMode) ? (g_LearnMode + 1) % static_cast<int>(kLearnModes.size()) : -1);
}

void OnHotKeySegmentMode() {
  ShowBanner(QStringLiteral("====="), GetMenuText(g_DoSegment ? "mnuSysTrayALL" : "mnuSysTrayGroup"));
  ReinstallKeyboardHook();
  RunTimed([] { ToggleSegmentMode(true); });
}

void OnHotKeyPrevSegment() { StepSegmentByKey(-1); }

void OnHotKeyNextSegment() { StepSegmentByKey(+1); }

// ---- Replaceable services -----------------------------------------------------------------------

void SetHotKeySystem(std::unique_ptr<HotKeySystem> system) { InstalledSystem() = std::move(system); }

void SetKeyboardHookFailureReporting(bool enabled) {
  FailureReporting() = enabled;
  if (enabled) g_HookFailureTold = false;
}
