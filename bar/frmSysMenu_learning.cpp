// The tray menu's learning items that are not radio groups: whole library or segments, the
// segment steps and the bar font.
#include "bar/SkolvaneBar.h"
#include "bar/frmSysMenu.h"
#include "bar/menu_settings_write.h"
#include "core/KeyBoardHook_bas.h"
#include "core/language_bas.h"
#include "core/segment_navigation_bas.h"
#include "core/vars_bas.h"

// The two mode items set their mode: choosing the mode the bar is in changes nothing. The switch
// itself puts the marks in step (ShowSegmentMode), so they show the bar's mode even when the
// once-a-second rule refuses the switch.
void frmSysMenu::mnuSysTrayALL_Click() {
  if (!g_DoSegment) return;
  // The F10 key's routine: banner, renewed hook, and the switch under its once-a-second rule.
  OnHotKeySegmentMode();
}

void frmSysMenu::mnuSysTrayGroup_Click() {
  if (g_DoSegment) return;
  ToggleSegmentMode(false);
}

void frmSysMenu::ShowSegmentMode() {
  mnuSysTrayALL->setChecked(!g_DoSegment);
  mnuSysTrayGroup->setChecked(g_DoSegment);
  mnuSysTrayGame->setEnabled(g_DoSegment);
}

void frmSysMenu::mnuSysTrayGroupUp_Click() { OnHotKeyPrevSegment(); }

void frmSysMenu::mnuSysTrayGroupDown_Click() { OnHotKeyNextSegment(); }

void frmSysMenu::mnuSysTrayFont_Click() {
  if (!SkolvaneBar::loaded()) return;
  g_IniResult = 1;  // a cancelled dialog writes nothing, and nothing is to be reported
  SkolvaneBar::instance().font_adjust();
  ReportIfSettingsWriteFailed();
  mnuSysTrayFont->setCaption(GetMenuText("mnuSysTrayFont_A") + QStringLiteral("[") + g_FontSpec + QStringLiteral("]"));
}
