#include "maintenance/updater/updater_main.h"

#include <QApplication>

#include <cstdio>

int RunUpdaterProgram(int argc, char** argv, Form2::UpdateRunBuilder run) {
  QApplication app(argc, argv);
  // The program ends when its window unloads itself after the run, not when it is hidden.
  QApplication::setQuitOnLastWindowClosed(false);
  platform::OnLastFormUnloaded([] { QCoreApplication::quit(); });

  // Started from a terminal, the result line is shown there too; the exit status is 0 only when
  // the list came, every due item was stored and the result was written.
  int status = 1;
  Form2& window = Form2::instance();
  window.setUpdateRun(run);
  window.onRunEnded = [&status](const UpdateOutcome& outcome) {
    std::fputs(outcome.resultLine.toUtf8().append('\n').constData(), stdout);
    std::fflush(stdout);
    status = UpdateSucceeded(outcome) ? 0 : 1;
  };
  window.show();

  const int result = QApplication::exec();
  platform::OnLastFormUnloaded(nullptr);
  platform::UnloadAllForms();
  return result != 0 ? result : status;
}
