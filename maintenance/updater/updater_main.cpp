#include "maintenance/updater/updater_main.h"

#include <QApplication>

int RunUpdaterProgram(int argc, char** argv, Form2::UpdateRunBuilder run) {
  QApplication app(argc, argv);
  // The program ends when its window unloads itself after the run, not when it is hidden.
  QApplication::setQuitOnLastWindowClosed(false);
  platform::OnLastFormUnloaded([] { QCoreApplication::quit(); });

  Form2& window = Form2::instance();
  window.setUpdateRun(run);
  window.show();

  const int result = QApplication::exec();
  platform::OnLastFormUnloaded(nullptr);
  platform::UnloadAllForms();
  return result;
}
