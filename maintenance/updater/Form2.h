#pragma once
// The updaters' window: a small window near the screen's top-left corner that says it is
// updating and shows the item being fetched. It asks nothing. One second after it loads, its
// timer runs the update once (the program's own run parameters), and the window closes when the
// run has ended, which ends the program. The timer keeps ticking during the run, whose downloads
// let the window process its messages: a tick then finds no run pending and does nothing, and
// the window refuses to close until the run is over.

#include "maintenance/updater/update_run.h"
#include "platform/forms/default_instance.h"
#include "platform/forms/label.h"
#include "platform/forms/timer.h"

#include <functional>

class Form2 : public platform::Form, public platform::DefaultInstance<Form2> {
  Q_OBJECT

 public:
  // The run parameters of a program, for the installer's language letter.
  using UpdateRunBuilder = UpdateRunParameters (*)(const QString& language);

  Form2();

  void Form_Load() override;
  void Timer1_Timer();

  // The run this window performs; set before the timer's first tick.
  void setUpdateRun(UpdateRunBuilder run) { m_UpdateRun = run; }
  // Told what the run achieved, just before the window unloads.
  std::function<void(const UpdateOutcome& outcome)> onRunEnded;

  platform::Label* Label1;    // what the window is doing
  platform::Label* Lbl_Desc;  // the item being fetched
  platform::Timer* Timer1;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  UpdateRunBuilder m_UpdateRun = nullptr;
  QString m_Language;         // the installer's language letter
  bool m_RunPending = false;  // set at load, cleared by the tick that starts the run
  bool m_Running = false;
};
