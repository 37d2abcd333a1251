#include "bar/SubMain.h"
#include "bar/frmSysMenu.h"
#include "core/vars_bas.h"
#include "libraries/stale_download_files.h"
#include "platform/app/known_leaks.h"
#include "platform/app/termination_signals.h"
#include "platform/forms/default_instance.h"

#include <QApplication>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // The program lives as long as one of its forms is loaded, shown or not (the bar can be
  // hidden while it keeps stepping, and the tray menu's form is never shown).
  QApplication::setQuitOnLastWindowClosed(false);
  platform::OnLastFormUnloaded([] { QCoreApplication::quit(); });
  // A logout, `kill` or Ctrl+C: every event loop returns (open dialogs and messages as
  // cancelled), and the program ends below as Exit ends it, outside every window's handler.
  const platform::TerminationSignals termination;

  RemoveStaleDownloadFiles();  // debris of an earlier run that died
  g_CommandLine = SubMain::CommandLineFromArguments(QCoreApplication::arguments());
  const bool opened = SubMain::Main();
  // A signal during the start-up (a message open then) ends the program before its loop runs.
  int result = 1;
  if (opened && !platform::TerminationRequested()) result = QApplication::exec();
  platform::OnLastFormUnloaded(nullptr);
  if (platform::TerminationRequested()) {
    frmSysMenu::UnloadEveryWindow(false);
    result = 0;
  }
  platform::UnloadAllForms();
  return result;
}
