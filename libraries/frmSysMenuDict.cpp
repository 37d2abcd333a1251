#include "libraries/frmSysMenuDict.h"

#include "bar/about_box_hook.h"
#include "core/vars_bas.h"
#include "libraries/frmGetWord.h"
#include "libraries/frmManager.h"
#include "progress/game/frmCampaignButton.h"

#include <QCoreApplication>
#include <QTimer>

using Kind = platform::MenuItem::Kind;

frmSysMenuDict::frmSysMenuDict() : Form(QStringLiteral("frmSysMenuDict")) {
  mnuSysTray = addMenuItem(QStringLiteral("mnuSysTray"), nullptr, Kind::Submenu, QStringLiteral("mnuSysTray"));
  mnuSysTrayAbout = addMenuItem(QStringLiteral("mnuSysTrayAbout"), mnuSysTray, Kind::Command, QStringLiteral("关于..."));
  S4 = addMenuItem(QStringLiteral("S4"), mnuSysTray, Kind::Separator, QStringLiteral("-"));
  mnuSysTrayExit = addMenuItem(QStringLiteral("mnuSysTrayExit"), mnuSysTray, Kind::Command, QStringLiteral("退出"));
  mnuSysTrayAbout->onClick = [this] { mnuSysTrayAbout_Click(); };
  mnuSysTrayExit->onClick = [this] { mnuSysTrayExit_Click(); };
}

frmSysMenuDict::~frmSysMenuDict() = default;

void frmSysMenuDict::mnuSysTrayAbout_Click() { ShowAboutBox(); }

void frmSysMenuDict::mnuSysTrayExit_Click() {
  frmCampaignButton::unload();
  if (g_CommandLine.trimmed().isEmpty()) {
    ReturnToLibraryManager();
    frmGetWord::unload();
    return;
  }
  // Started with a library: every window goes and the program ends. The pop-up goes first, told
  // not to bring the manager back; the rest are unloaded once this menu's own handler has
  // returned, as the menu belongs to one of them.
  if (frmGetWord::loaded()) frmGetWord::instance().setReturnToManager(false);
  frmGetWord::unload();
  QTimer::singleShot(0, QCoreApplication::instance(), [] { platform::UnloadAllForms(); });
}
