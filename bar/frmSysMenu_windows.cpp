// The tray menu's items that open a window of their own, modally and without an owner: the menu
// waits until the window closes. The charts, the card game, the symbol dialogs and the about box.
#include "bar/about_box_hook.h"
#include "bar/frmSysMenu.h"
#include "core/vars_bas.h"
#include "libraries/frmGroupKeyword.h"
#include "libraries/frmMeaningKeyword.h"
#include "libraries/frmPhoneticKeyword.h"
#include "progress/charts/frmDayStatistics.h"
#include "progress/charts/frmStatisticsA.h"
#include "progress/charts/frmStatisticsG.h"
#include "progress/game/frmGame.h"

void frmSysMenu::mnuSysTrayState_Click() {
  if (g_DoSegment) {
    frmStatisticsG::instance().showModal();
  } else {
    frmStatisticsA::instance().showModal();
  }
}

void frmSysMenu::mnuSysTrayStatistics_Click() { frmDayStatistics::instance().showModal(); }

// Each symbol dialog stores its pair, captions its item and lays the bar out again itself.
void frmSysMenu::mnuSysTrayShowGroupKeyword_Click() { frmGroupKeyword::instance().showModal(); }

void frmSysMenu::mnuSysTrayShowPhoneticKeyword_Click() { frmPhoneticKeyword::instance().showModal(); }

void frmSysMenu::mnuSysTrayShowMeaningKeyword_Click() { frmMeaningKeyword::instance().showModal(); }

void frmSysMenu::mnuSysTrayGame_Click() { frmGame::instance().showModal(); }

void frmSysMenu::mnuSysTrayAbout_Click() { ShowAboutBox(); }
