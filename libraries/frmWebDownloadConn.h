#pragma once
// The catalogue fetch window, opened modally from the library manager's Web item. One second
// after it opens it fetches the server list into WebLibraryDownload2.ini in the program folder,
// moving its progress bar meanwhile, and then shows the web catalogue modally; when the catalogue
// closes, so does this window. A failed fetch shows an error text (with no server named, the
// address tried and the files that name one) and leaves the window open until the learner closes
// it. Closing the window (its close box or Cancel) aborts the fetch.

#include "libraries/CFileDownload.h"
#include "libraries/WebDownloadWindow.h"
#include "platform/forms/command_button.h"
#include "platform/forms/default_instance.h"
#include "platform/forms/timer.h"

#include <QFrame>
#include <QProgressBar>

#include <cstdint>
#include <memory>

class frmWebDownloadConn : public WebDownloadWindow, public platform::DefaultInstance<frmWebDownloadConn> {
  Q_OBJECT

 public:
  frmWebDownloadConn();
  ~frmWebDownloadConn() override;

  void Form_Load() override;
  void Form_Unload() override;

  platform::PictureBox* Picture3;  // decoration
  QFrame* Frame1;
  QFrame* Frame2;
  platform::Label* Lbl_Desc;  // receives the error text
  QProgressBar* ProgressBar1;
  platform::CommandButton* Cmd_Cancel;
  platform::Timer* Timer1;

  // The fetch, on the timer's first tick.
  void Timer1_Timer();
  void m_oFileDownload_OnProgress(std::int32_t lProgress, std::int32_t lMaxProgress, std::int32_t lStatusCode,
                                  const QString& sStatusText);

 protected:
  void Picture2_Click() override;

 private:
  void Cmd_Cancel_Click();
  void paintDecoration();
  // Shows why the fetch failed in place of the progress bar, the window growing for a long text.
  void ShowFetchError(const QString& text);

  // Shared with the running fetch, so the download object outlives a window closed meanwhile.
  std::shared_ptr<CFileDownload> m_oFileDownload;
  bool m_Closing = false;  // unloaded: a fetch that returns now must leave the window alone
};
