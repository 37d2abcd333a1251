#pragma once
// The download run window, opened modally by the catalogue after the learner confirmed. One
// second after it opens it fetches every checked item into the catalogue's target folder
// (made absolute and created first; an empty folder is refused), unpacks archives, registers each
// new library in TopicList.ini, logs each item in Updatelog2.ini, reports how many libraries came
// (other files counted apart) and how many items failed with each failure's cause, and closes. Its progress bar follows the
// running transfer or unpacking; Cancel (or the close box) stops the item under way, which then
// leaves the target folder as it was, and the items not yet started.

#include "libraries/WebDownloadWindow.h"
#include "platform/forms/command_button.h"
#include "platform/forms/default_instance.h"
#include "platform/forms/timer.h"

#include <QProgressBar>

class CatalogueDownload;

class frmWebDownloadProgress : public WebDownloadWindow, public platform::DefaultInstance<frmWebDownloadProgress> {
  Q_OBJECT

 public:
  frmWebDownloadProgress();
  ~frmWebDownloadProgress() override;

  void Form_Load() override;
  void Form_Unload() override;

  platform::Label* Lbl_Desc;  // the item being fetched, then "part N" during a multi-part set
  QProgressBar* ProgressBar1;
  platform::CommandButton* Cmd_Cancel;
  platform::Timer* Timer1;

  // The run, on the timer's first tick.
  void Timer1_Timer();

 protected:
  void Picture2_Click() override;

 private:
  void Cmd_Cancel_Click();
  void showProgress(std::int64_t done, std::int64_t total);

  CatalogueDownload* m_Run = nullptr;  // the run in progress (owned by Timer1_Timer's frame)
  bool m_Cancelled = false;
};
