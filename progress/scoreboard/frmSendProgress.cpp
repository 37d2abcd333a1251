#include "progress/scoreboard/frmSendProgress.h"

#include "core/language_bas.h"
#include "core/vars_bas.h"
#include "platform/dialogs/dialogs.h"
#include "progress/scoreboard/forum_posting_run.h"
#include "progress/scoreboard/forum_site.h"
#include "progress/scoreboard/frmTopList.h"
#include "progress/scoreboard/last_game.h"

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QProgressBar>

#include <algorithm>
#include <cstdint>

namespace {

constexpr int kWidth = 420;
constexpr int kHeight = 250;
constexpr int kTimerInterval = 200;

// Why a page was not read, in the learner's language: the key of its text, the English text used
// when the language file lacks it (PageRefusalText) and the limit its "%1" names.
struct PageRefusalMessage {
  platform::browser::PageRefusal refusal;
  const char* key;
  std::int64_t limit;
};
constexpr PageRefusalMessage kPageRefusalMessages[] = {
    {platform::browser::PageRefusal::TooLarge, "PageTooLarge", platform::browser::kMaxPageBytes / (1024 * 1024)},
    {platform::browser::PageRefusal::TooDeep, "PageTooDeep", platform::browser::kMaxNestingDepth},
    {platform::browser::PageRefusal::TooManyElements, "PageTooManyElements", platform::browser::kMaxElements},
    {platform::browser::PageRefusal::TooManyAttributesInTag, "PageTooManyAttributesInTag",
     static_cast<std::int64_t>(platform::browser::kMaxAttributesPerTag)},
    {platform::browser::PageRefusal::TooManyAttributes, "PageTooManyAttributes", platform::browser::kMaxAttributes},
    {platform::browser::PageRefusal::Unreadable, "PageUnreadable", 0},
    {platform::browser::PageRefusal::BadAnswer, "PageBadAnswer", 0},
    {platform::browser::PageRefusal::OutOfTime, "PageOutOfTime", 0},
    {platform::browser::PageRefusal::OutOfMemory, "PageOutOfMemory", 0},
    {platform::browser::PageRefusal::ReaderFailed, "PageReaderFailed", 0},
    {platform::browser::PageRefusal::ReaderMissing, "PageReaderMissing", 0},
};

QString PageRefusalMessageText(platform::browser::PageRefusal refusal) {
  for (const PageRefusalMessage& message : kPageRefusalMessages) {
    if (message.refusal != refusal) continue;
    const QString text = GetMessageText(QStringLiteral("frmSendProgress"), QString::fromLatin1(message.key),
                                        platform::browser::PageRefusalText(refusal));
    return text.contains(QStringLiteral("%1")) ? text.arg(message.limit) : text;
  }
  return platform::browser::PageRefusalText(refusal);
}

QString FailureMessage(const scoreboard::PostingResult& result) {
  const QString& failure = result.failure;
  if (failure == QStringLiteral("identity")) {
    return GetMessageText(QStringLiteral("frmSendProgress"), QStringLiteral("IdentityRefused"),
                          QStringLiteral("Your user name is not in the system's user database, so the score cannot be posted."));
  }
  if (failure == QStringLiteral("no game")) {
    return GetMessageText(QStringLiteral("frmSendProgress"), QStringLiteral("NoGame"),
                          QStringLiteral("There is no finished game to post: play a game first."));
  }
  // A refused page names its cause first; the failed step follows for the log.
  if (result.pageRefusal != platform::browser::PageRefusal::None) {
    return QStringLiteral("error\n") + PageRefusalMessageText(result.pageRefusal) + QLatin1Char('\n') + failure;
  }
  return QStringLiteral("error\n") + failure;
}

}  // namespace

frmSendProgress::frmSendProgress() : Form(QStringLiteral("frmSendProgress")) {
  setFixedSize(kWidth, kHeight);
  Lbl_Topic = add<platform::Label>(QStringLiteral("Lbl_Topic"));
  Lbl_Topic->setGeometry(12, 8, kWidth - 24, 24);
  Lbl_Topic->setCaption(QStringLiteral("在线发送成绩"));
  lblProgress = add<platform::Label>(QStringLiteral("lblProgress"));
  lblProgress->setGeometry(12, 36, kWidth - 24, 22);
  pb = add<QProgressBar>(QStringLiteral("pb"));
  pb->setGeometry(12, 60, kWidth - 24, 18);
  pb->setRange(0, 100);
  pb->setValue(0);
  txtStatusText = add<QPlainTextEdit>(QStringLiteral("txtStatusText"));
  txtStatusText->setGeometry(12, 84, kWidth - 24, 118);
  txtStatusText->setReadOnly(true);
  cmdStart = add<platform::CommandButton>(QStringLiteral("cmdStart"));
  cmdStart->setGeometry(kWidth - 220, 210, 100, 28);
  cmdStart->setCaption(QStringLiteral("开始下载"));
  cmdStop = add<platform::CommandButton>(QStringLiteral("cmdStop"));
  cmdStop->setGeometry(kWidth - 112, 210, 100, 28);
  cmdStop->setCaption(QStringLiteral("停止下载"));
  Timer1 = add<platform::Timer>(QStringLiteral("Timer1"));
  Timer1->onTimer = [this] { Timer1_Timer(); };
  cmdStart->onClick = [this] { cmdStart_Click(); };
  cmdStop->onClick = [this] { cmdStop_Click(); };
}

frmSendProgress::~frmSendProgress() = default;

void frmSendProgress::Form_Load() {
  ApplyFormLanguage(QStringLiteral("frmSendProgress"));
  run_started = false;
  Timer1->setInterval(kTimerInterval);
  Timer1->setEnabled(true);
}

void frmSendProgress::showStep(const QString& tipKey, int percent) {
  lblProgress->setCaption(GetUIText(QStringLiteral("frmSendProgress"), tipKey));
  pb->setValue(percent);
  QCoreApplication::processEvents();
}

void frmSendProgress::cmdStartClick() {
  if (running_) return;
  running_ = true;
  cmdStart->setEnabled(false);
  cmdStop->setEnabled(true);
  platform::browser::WebBrowser browser;
  browser.setWhileWaiting([] {
    QCoreApplication::processEvents();
    return !g_AbortWeb;
  });
  scoreboard::ForumPostingRun posting(browser, scoreboard::ForumRoot(),
                                      [this](const QString& tipKey, int percent) { showStep(tipKey, percent); });
  const scoreboard::GameEntry entry{LastGameTurns(), LastGameTime(), g_UserIdentity};
  const scoreboard::PostingResult result = posting.run(g_SourceLang, g_TargetLang, g_LibraryFileName, entry);
  running_ = false;
  if (!result.ok) {
    platform::MsgBox(FailureMessage(result));
    unload();
    return;
  }
  g_TopListText = result.list;
  unload();
  frmTopList::instance().showModal();
}

void frmSendProgress::ShowTransferProgress(long progress, long maximum, long /*unused*/, const QString& statusText) {
  const long percent = maximum == 0 ? 0 : static_cast<long>(static_cast<double>(progress) * 100.0 / static_cast<double>(maximum));
  pb->setValue(static_cast<int>(std::clamp(percent, 0L, 100L)));
  const QString done = GetUIText(QStringLiteral("frmSendProgress"), QStringLiteral("Downloaded"));
  lblProgress->setCaption(done + QString::number(percent) + QLatin1Char('%'));
  txtStatusText->appendPlainText(statusText);
}

void frmSendProgress::cmdStart_Click() { cmdStartClick(); }

void frmSendProgress::cmdStop_Click() {
  // Stop ends a posting in progress at once: the transfer is aborted and the run reports it.
  g_AbortWeb = true;
  cmdStart->setEnabled(true);
  cmdStop->setEnabled(false);
  setCaption(GetUIText(QStringLiteral("frmSendProgress"), QStringLiteral("Idle")));
  lblProgress->setCaption(QStringLiteral(" "));
}

void frmSendProgress::Timer1_Timer() {
  if (run_started) return;
  run_started = true;
  Timer1->setEnabled(false);
  cmdStartClick();
  unload();
}
