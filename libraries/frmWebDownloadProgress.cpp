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

#include <algorithm>

namespace {

const QString kForm = QStringLiteral("frmWebDownloadProgress");
constexpr int kRunDelayMilliseconds = 1000;

QString Message(const QString& key, const QString& english) { return GetMessageText(kForm, key, english); }

// What went wrong with an item, in the learner's language: the key of its text and the English
// text used when the language file lacks it. "%1" takes the detail (the system's words, an entry).
struct FailureMessage {
  ItemFailure failure;
  const char* key;
  const char* english;
};
constexpr FailureMessage kFailureMessages[] = {
    {ItemFailure::BadFileName, "FailBadName", "the server named an unsafe file"},
    {ItemFailure::Download, "FailDownload", "could not be downloaded"},
    {ItemFailure::DownloadTooLarge, "FailTooLarge", "the file is larger than 1 GB"},
    {ItemFailure::NoSpace, "FailNoSpace", "the disk is full or too small for it"},
    {ItemFailure::WriteFailed, "FailWrite", "a file could not be written (%1)"},
    {ItemFailure::Damaged, "FailDamaged", "the archive is damaged"},
    {ItemFailure::UnsafeArchive, "FailUnpack", "the archive is unsafe: the entry %1 would leave the folder"},
    {ItemFailure::BadEntryName, "FailEntryName", "the archive holds an entry whose name cannot be read"},
    {ItemFailure::DuplicateEntry, "FailDuplicate", "the archive holds %1 twice (or as both a file and a folder)"},
    {ItemFailure::TooManyEntries, "FailManyEntries", "the archive holds more than 10,000 entries"},
    {ItemFailure::UnpackTooLarge, "FailUnpackTooLarge", "the archive unpacks to more than 1 GB"},
    {ItemFailure::RatioTooHigh, "FailRatio", "the archive unpacks to more than 100 times its own size"},
    {ItemFailure::UnpackNeedsMemory, "FailUnpackMemory", "the archive needs more memory than allowed"},
    {ItemFailure::UnpackTooSlow, "FailUnpackTime", "the archive could not be unpacked in time"},
    {ItemFailure::UnpackerFailed, "FailUnpacker", "the archive made the unpacking stop (%1)"},
    {ItemFailure::UnpackerMissing, "FailNoUnpacker", "the unpacking program lexorn2-reader is missing or cannot start"},
    {ItemFailure::NoLibraryFile, "FailNoLibrary", "the archive holds no word library"},
    {ItemFailure::NotALibrary, "FailNotLibrary", "the file is not a word library"},
    {ItemFailure::KindClash, "FailKindClash", "%1 would replace a folder by a file or a file by a folder"},
    {ItemFailure::ListWriteFailed, "FailList", "the library list TopicList.ini could not be written"},
    {ItemFailure::LogWriteFailed, "FailLog", "the download log Updatelog2.ini could not be written"},
    {ItemFailure::Cancelled, "FailCancelled", "cancelled"},
};

QString FailureText(const ItemOutcome& outcome) {
  for (const FailureMessage& message : kFailureMessages) {
    if (message.failure != outcome.failure) continue;
    QString text = Message(QString::fromLatin1(message.key), QString::fromUtf8(message.english));
    if (text.contains(QStringLiteral("%1"))) return text.arg(outcome.detail);
    return outcome.detail.isEmpty() ? text : text + QStringLiteral(" (") + outcome.detail + QLatin1Char(')');
  }
  return {};
}

// The item as the learner knows it: its description, else its file name.
QString ItemTitle(const WebLibItem& item) {
  return item.description.isEmpty() || item.description == QStringLiteral("Error") ? item.toFileName : item.description;
}

// The target folder, read from the catalogue each time it is needed and made absolute; empty when
// none is given.
QString TargetFolder() {
  return ResolveDownloadFolder(frmWebDownload::loaded() ? frmWebDownload::instance().TxtFileLocation->text()
                                                        : ProposedLibraryFolder());
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

void frmWebDownloadProgress::showProgress(std::int64_t done, std::int64_t total) {
  if (total > 0) {
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(static_cast<int>(std::min<std::int64_t>(done, total) * 100 / total));
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
  run.onProgress = [self](std::int64_t done, std::int64_t total) {
    if (self) self->showProgress(done, total);
  };
  m_Run = &run;

  int libraries = 0;
  int otherFiles = 0;
  int failed = 0;
  int tried = 0;
  QStringList failures;
  const bool folderGiven = !folder.isEmpty();
  const bool folderReady = folderGiven && QDir().mkpath(folder);
  if (folderReady) {
    for (const auto& [category, row] : items) {
      if (m_Cancelled) break;  // items not started are not failures
      const WebLibItem& item = g_WebLibChecked[category][row];
      ++tried;
      const ItemOutcome outcome = run.download(item);
      if (!self) return;  // the program closed the window meanwhile
      if (!outcome.ok()) {
        ++failed;
        failures << ItemTitle(item) + QStringLiteral(": ") + FailureText(outcome);
      } else if (outcome.keptLearnersFile) {
        failures << ItemTitle(item) + QStringLiteral(": ") +
                        Message(QStringLiteral("KeptOwn"), QStringLiteral("your own %1 was kept; the downloaded copy was not used"))
                            .arg(item.toFileName);
      } else {
        ++(outcome.libraryAdded ? libraries : otherFiles);
      }
    }
  }
  m_Run = nullptr;
  if (libraries > 0) g_LibraryAdded = true;

  QString report;
  if (items.empty()) {
    report = Message(QStringLiteral("NothingChecked"), QStringLiteral("No library was checked, so nothing was downloaded."));
  } else if (!folderGiven) {
    report = Message(QStringLiteral("NoFolder"), QStringLiteral("No download folder is given, so nothing was downloaded."));
  } else if (!folderReady) {
    report = Message(QStringLiteral("FolderFailed"), QStringLiteral("The folder %1 could not be created.")).arg(folder);
  } else {
    report = Message(QStringLiteral("Summary"), QStringLiteral("%1 libraries downloaded, %2 failed."))
                 .arg(libraries)
                 .arg(failed);
    if (otherFiles > 0) {
      report += '\n' + Message(QStringLiteral("OtherFiles"), QStringLiteral("Other files downloaded: %1.")).arg(otherFiles);
    }
    if (m_Cancelled) {
      report += '\n' + Message(QStringLiteral("Cancelled"), QStringLiteral("The download was cancelled."));
      if (tried < static_cast<int>(items.size())) {
        report += '\n' + Message(QStringLiteral("NotStarted"), QStringLiteral("Not started: %1."))
                             .arg(static_cast<int>(items.size()) - tried);
      }
    }
    for (const QString& failure : failures) report += '\n' + failure;
  }
  platform::MsgBox(report);
  if (self) frmWebDownloadProgress::unload();
}
