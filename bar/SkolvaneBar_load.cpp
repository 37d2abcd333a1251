// The bar's load, activate and unload handlers: bring up the language texts, the library, the
// settings, the segment, the window and the word timer, in an order where each step uses what the
// earlier ones set up.
#include "bar/SkolvaneBar.h"
#include "bar/SkolvaneBar_monitors.h"
#include "bar/SkolvaneBar_placement.h"
#include "bar/library_lock.h"
#include "bar/frmSysMenu.h"
#include "core/KeyBoardHook_bas.h"
#include "core/bar_fitting_bas.h"
#include "core/do_loading_bas.h"
#include "core/language_bas.h"
#include "core/progress_texts_bas.h"
#include "core/read_ini_bas.h"
#include "core/segment_navigation_bas.h"
#include "core/segments_bas.h"
#include "core/settings_load_bas.h"
#include "core/speech_bas.h"
#include "core/system_utils_bas.h"
#include "core/text_drawing_bas.h"
#include "core/vars_bas.h"
#include "platform/forms/win_color.h"
#include "platform/window/opacity.h"

#include <cmath>

namespace {

void ReadGroupSymbols() {
  g_GroupSymbolStart = ReadSetting(QStringLiteral("WordGroupSymbolStart"), QString()).left(1);
  g_GroupSymbolEnd = ReadSetting(QStringLiteral("WordGroupSymbolEnd"), QString()).left(1);
  frmSysMenu::instance().mnuSysTrayShowGroupKeyword->setCaption(QStringLiteral("分组符号设定:") + g_GroupSymbolStart +
                                                                QStringLiteral(" ") + g_GroupSymbolEnd);
}

void ApplyBarColours(SkolvaneBar& bar) {
  const QColor fore = platform::FromWinColor(g_ForeColor);
  const QColor back = platform::FromWinColor(g_BackColor);
  auto colour = [&](platform::PictureBox& box) {
    box.setForeColor(fore);
    box.setBackColor(back);
  };
  colour(*bar.Pic_ShowText);
  if (g_ShowPhonetic) colour(*bar.Pic_ShowPhonetic);
  if (g_ShowLongMeaning) colour(*bar.Pic_ShowLongMeaning);
}

}  // namespace

void SkolvaneBar::Form_Load() {
  ApplyFormLanguage(QStringLiteral("SkolvaneBar"));

  g_RangeChanged = false;
  g_CyclePos = 1;
  g_CycleFirst = 1;
  g_CycleLast = 1;
  g_BarShown = true;

  CreateBarVoices();
  ReadGroupSymbols();
  // A refused library (past the line or group limit, or no file at all) opens no bar: the loader
  // has said why, and the opener unloads the form before anything of it came on screen.
  if (!LoadWordLibrary()) return;
  LoadSettings();
  PrepareSegment(true);

  // Older systems drew the bar at a constant alpha of 230; on this one the translucency setting
  // alone decides (the settings load applied it).
  if (std::abs(GetWindowsVersion() - 6.01) > 1e-9) platform::SetWindowAlpha(*this, 230);

  Pic_SegNo_Paint();  // the segment number, or the group's caption, in segment mode
  ApplyEditionCaption();
  RefreshInfoLabels();

  g_KillBusy = false;
  AdjustObjects();
  // The layout shows the progress strip and the percentage box only when they are on; off, they
  // are hidden as the menu item hides them, not left at their design place over the rows.
  if (!g_ShowProgress) {
    Pic_Pos->setVisible(false);
    Pic_percent->setVisible(false);
  }

  g_StatusRows = g_ShowStatus ? 1 : 0;
  KeepBarOnScreen();
  FitBarToRows();

  setCaption(GetUIText(QStringLiteral("frmSysMenu"), QStringLiteral("Tips")) + QStringLiteral("\r\n") +
             g_LibraryTitle.left(std::max<qsizetype>(0, g_LibraryTitle.size() - 4)));

  ShowTrayIcon();
  // The fit above came before the tray icon: with WordShowMain off the icon now leads to the
  // menu, and the bar goes out of sight.
  setVisible(VisibleBySettings());
  MWheel1->setHWndCapture(Pic_ShowText);
  MWheel1->EnableWheel();

  if (!g_Wait) Tim_Wait->setEnabled(true);

  CheckBarMonitors();
  ApplyBarColours(*this);

  InstallKeyboardHook();

  if (g_Wait) {
    runtimer();
    DrawWordText(g_CurrentText, QStringLiteral("U"));
    g_CyclePos = 1;
  }
}

bool SkolvaneBar::VisibleBySettings() const { return g_ShowMain || !SysTray.bRunningInTray(); }

// Without a tray icon the bar is the only way to its menu, so it never hides itself.
void SkolvaneBar::Form_Activate() { setVisible(VisibleBySettings()); }

void SkolvaneBar::Form_Unload() {
  RemoveKeyboardHook();
  // Without an icon in the tray there is none to take out (the bar is on screen then, or its
  // library was refused and it never came).
  if (SysTray.bRunningInTray()) SysTray.RemoveIcon(*this);
  UnlockLibrary();
  g_BarShown = false;
}
