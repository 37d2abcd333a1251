#include "bar/SubMain.h"
#include "core/vars_bas.h"
#include "libraries/stale_download_files.h"
#include "platform/forms/default_instance.h"

#include <QApplication>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // The program lives as long as one of its forms is loaded, shown or not (the bar can be
  // hidden while it keeps stepping, and the tray menu's form is never shown).
  QApplication::setQuitOnLastWindowClosed(false);
  platform::OnLastFormUnloaded([] { QCoreApplication::quit(); });

  RemoveStaleDownloadFiles();  // debris of an earlier run that died
  g_CommandLine = SubMain::CommandLineFromArguments(QCoreApplication::arguments());
  if (!SubMain::Main()) return 1;

  const int result = QApplication::exec();
  platform::OnLastFormUnloaded(nullptr);
  platform::UnloadAllForms();
  return result;
}
