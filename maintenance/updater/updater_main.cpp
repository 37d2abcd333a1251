#include "maintenance/updater/updater_main.h"

#include "maintenance/installer_settings.h"
#include "platform/app/termination_signals.h"

#include <QApplication>

#include <cstdio>

namespace {

void PrintLine(const QString& line) {
  std::fputs(line.toUtf8().append('\n').constData(), stdout);
  std::fflush(stdout);
}

}  // namespace

int RunUpdaterProgram(int argc, char** argv, Form2::UpdateRunBuilder run) {
  QApplication app(argc, argv);
  // The program ends when its window unloads itself after the run, not when it is hidden.
  QApplication::setQuitOnLastWindowClosed(false);
  platform::OnLastFormUnloaded([] { QCoreApplication::quit(); });
  // A signal during the run cancels the transfer under way and ends the run (update_run.h); one
  // before the run ends the program without it.
  const platform::TerminationSignals termination;

  // Started from a terminal, the result line is shown there too; the exit status is 0 only when
  // the list came, every due item was stored and the result was written.
  int status = 1;
  bool ran = false;
  Form2& window = Form2::instance();
  window.setUpdateRun(run);
  window.onRunEnded = [&status, &ran](const UpdateOutcome& outcome) {
    PrintLine(outcome.resultLine);
    status = UpdateSucceeded(outcome) ? 0 : 1;
    ran = true;
  };
  window.show();

  const int result = QApplication::exec();
  platform::OnLastFormUnloaded(nullptr);
  platform::UnloadAllForms();
  if (!ran && platform::TerminationRequested()) {
    UpdateOutcome notRun;
    notRun.interrupted = true;
    PrintLine(UpdateResultText(installer::ReadLanguage(), notRun));
  }
  return result != 0 ? result : status;
}
