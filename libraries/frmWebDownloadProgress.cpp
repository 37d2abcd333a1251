#include "libraries/frmWebDownloadProgress.h"

#include "core/language_bas.h"
#include "core/vars_bas.h"
#include "libraries/DownloadLocationFile.h"
#include "libraries/catalogue_download.h"
#include "libraries/frmWebDownload.h"
#include "libraries/web_catalogue.h"
#include "platform/dialogs/dialogs.h"

#include <QDir>
#include <QPointer>

namespace {

const QString kForm = QStringLiteral("frmWebDownloadProgress");
constexpr int kRunDelayMilliseconds = 1000;

QString Message(const QString& key, const QString& english) { return GetMessageText(kForm, key, english); }

QString FailureText(ItemFailure failure) {
  switch (failure) {
    case ItemFailure::BadFileName:
      return Message(QStringLiteral("FailBadName"), QStringLiteral("the server named an unsafe file"));
    case ItemFailure::Download:
      return Message(QStringLiteral("FailDownload"), QStringLiteral("could not be downloaded"));
    case ItemFailure::Unpack:
      return Message(QStringLiteral("FailUnpack"), QStringLiteral("the archive is damaged or unsafe"));
    case ItemFailure::NoLibraryFile:
      return Message(QStringLiteral("FailNoLibrary"), QStringLiteral("the archive holds no word library"));
    case ItemFailure::None: break;
  }
  return {};
}

// The target folder, read from the catalogue each time it is needed.
QString TargetFolder() {
  QString folder = frmWebDownload::loaded() ? frmWebDownload::instance().TxtFileLocation->text().trimmed()
                                            : ProposedLibraryFolder();
  folder.replace('\\', '/');
  if (!folder.endsWith('/')) folder += '/';
  return folder;
}

}  // namespace

frmWebDownloadProgress::frmWebDownloadProgress()
    : WebDownloadWindow(kForm, QSize(380, 140), QStringLiteral("正在从服务器更新。。。")) {
  constexpr int top = kTitleHeight;
  Lbl_Desc = add<platform::Label>(QStringLiteral("Lbl_Desc"));
  Lbl_Desc->setGeometry(12, top + 12, 356, 36);
  Lbl_Desc->setWordWrap(true);
  ProgressBar1 = add<QProgressBar>(QStringLiteral("ProgressBar1"));
  ProgressBar1->setGeometry(12, top + 54, 356, 18);
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setValue(0);
  Cmd_Cancel = add<platform::CommandButton>(QStringLiteral("Cmd_Cancel"));
  Cmd_Cancel->setCaption(QStringLiteral("取消"));
  Cmd_Cancel->setGeometry(274, top + 80, 94, 24);
  Cmd_Cancel->onClick = [this] { Cmd_Cancel_Click(); };
  Timer1 = add<platform::Timer>(QStringLiteral("Timer1"));
  Timer1->onTimer = [this] { Timer1_Timer(); };
  Timer1->setInterval(kRunDelayMilliseconds);
  Timer1->setEnabled(true);
}

frmWebDownloadProgress::~frmWebDownloadProgress() = default;

void frmWebDownloadProgress::Form_Load() { applyLanguage(); }

void frmWebDownloadProgress::Form_Unload() {
  Timer1->setEnabled(false);
  Cmd_Cancel_Click();
}

void frmWebDownloadProgress::Cmd_Cancel_Click() {
  m_Cancelled = true;
  if (m_Run != nullptr) m_Run->abort();
}

void frmWebDownloadProgress::Picture2_Click() { Cmd_Cancel_Click(); }

void frmWebDownloadProgress::showProgress(std::int32_t received, std::int32_t total) {
  if (total > 0) {
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(static_cast<int>(static_cast<qint64>(received) * 100 / total));
  } else {
    ProgressBar1->setRange(0, 0);  // size unknown: a busy bar
  }
}

void frmWebDownloadProgress::Timer1_Timer() {
  Timer1->setEnabled(false);
  QPointer<frmWebDownloadProgress> self(this);
  const auto items = CheckedWebItems();
  const QString folder = TargetFolder();
  CatalogueDownload run(LibraryBaseAddress(), folder);
  run.onStatus = [self](const QString& status) {
    if (!self) return;
    self->Lbl_Desc->setCaption(status);
    self->ProgressBar1->setRange(0, 100);
    self->ProgressBar1->setValue(0);
    self->Lbl_Desc->repaint();
  };
  run.onProgress = [self](std::int32_t received, std::int32_t total) {
    if (self) self->showProgress(received, total);
  };
  m_Run = &run;

  int succeeded = 0;
  QStringList failures;
  const bool folderReady = QDir().mkpath(folder);
  for (const auto& [category, row] : items) {
    const WebLibItem& item = g_WebLibChecked[category][row];
    const ItemFailure failure = folderReady ? run.download(item) : ItemFailure::Download;
    if (!self) return;  // the program closed the window meanwhile
    if (failure == ItemFailure::None) {
      ++succeeded;
    } else {
      failures << item.description + QStringLiteral(": ") + FailureText(failure);
    }
    if (m_Cancelled) break;
  }
  m_Run = nullptr;
  if (succeeded > 0) g_LibraryAdded = true;

  QString report;
  if (items.empty()) {
    report = Message(QStringLiteral("NothingChecked"), QStringLiteral("No library was checked, so nothing was downloaded."));
  } else {
    report = Message(QStringLiteral("Summary"), QStringLiteral("%1 libraries downloaded, %2 failed."))
                 .arg(succeeded)
                 .arg(items.size() - succeeded);
    if (!folderReady) {
      report += '\n' + Message(QStringLiteral("FolderFailed"), QStringLiteral("The folder %1 could not be created.")).arg(folder);
    }
    if (m_Cancelled) report += '\n' + Message(QStringLiteral("Cancelled"), QStringLiteral("The download was cancelled."));
    for (const QString& failure : failures) report += '\n' + failure;
  }
  platform::MsgBox(report);
  if (self) frmWebDownloadProgress::unload();
}
