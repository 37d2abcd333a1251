#pragma once
// The score board window: posts the last card game's result to the library's thread on the web
// forum and then shows the new board in the top list. Loading the window starts the posting by
// itself (its timer's first tick); Stop ends a posting at once. Nothing else in the program opens
// it: it is the score board's entry for whoever wires it up.

#include "platform/forms/command_button.h"
#include "platform/forms/default_instance.h"
#include "platform/forms/label.h"
#include "platform/forms/timer.h"

class QPlainTextEdit;
class QProgressBar;

class frmSendProgress : public platform::Form, public platform::DefaultInstance<frmSendProgress> {
  Q_OBJECT

 public:
  frmSendProgress();
  ~frmSendProgress() override;

  void Form_Load() override;

  // One whole posting run; its outcome is g_TopListText and the top list, or an error message.
  void cmdStartClick();

  // Reports a transfer's progress in the bar, the step text and the status box.
  void ShowTransferProgress(long progress, long maximum, long unused, const QString& statusText);

  platform::Label* Lbl_Topic;
  platform::Label* lblProgress;
  QProgressBar* pb;
  QPlainTextEdit* txtStatusText;
  platform::CommandButton* cmdStart;
  platform::CommandButton* cmdStop;
  platform::Timer* Timer1;

 private:
  void cmdStart_Click();
  void cmdStop_Click();
  void Timer1_Timer();
  void showStep(const QString& tipKey, int percent);

  bool run_started = false;
  bool running_ = false;  // a posting run is in progress: a second start does nothing
};
