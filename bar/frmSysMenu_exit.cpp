// The tray menu's Exit. Started from the library manager (no command line), the bar goes and the
// manager comes back, the other windows and the menu form staying as they are; started with a
// library, every window goes and the program ends with the last of them.
#include "bar/SkolvaneBar.h"
#include "bar/frmAbout.h"
#include "bar/frmSysMenu.h"
#include "core/vars_bas.h"
#include "libraries/frmManager.h"
#include "progress/charts/frmDayStatistics.h"
#include "progress/charts/frmStatisticsA.h"
#include "progress/charts/frmStatisticsG.h"
#include "progress/game/frmCampaignButton.h"
#include "progress/game/frmGame.h"
#include "progress/scoreboard/frmSendProgress.h"
#include "progress/scoreboard/frmTopList.h"

#include <QCoreApplication>
#include <QTimer>

void frmSysMenu::mnuSysTrayExit_Click() {
  if (!g_CommandLine.trimmed().isEmpty()) {
    UnloadEveryWindow(true);
    return;
  }
  frmCampaignButton::unload();
  ReturnToLibraryManager();
  SkolvaneBar::unload();
}

void frmSysMenu::UnloadEveryWindow(bool fromTheMenu) {
  // Each unload goes on whatever the one before did; unloading a window that is not loaded does
  // nothing.
  frmCampaignButton::unload();
  frmAbout::unload();
  frmDayStatistics::unload();
  frmGame::unload();
  frmSendProgress::unload();
  frmStatisticsA::unload();
  frmStatisticsG::unload();
  frmSysMenu::unload();
  frmTopList::unload();
  SkolvaneBar::unload();
  if (!platform::AnyFormLoaded()) return;
  if (!fromTheMenu) {
    platform::UnloadAllForms();
    return;
  }
  // The menu that runs Exit belongs to the form just unloaded, which must not be deleted under it.
  QTimer::singleShot(0, QCoreApplication::instance(), [] { platform::UnloadAllForms(); });
}
