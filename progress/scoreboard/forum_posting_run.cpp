#include "progress/scoreboard/forum_posting_run.h"

#include "core/system_utils_bas.h"
#include "core/vars_bas.h"
#include "progress/scoreboard/forum_site.h"
#include "progress/scoreboard/top_list_text.h"

#include <QStringList>

namespace scoreboard {
namespace {

const QString kCrLf = QStringLiteral("\r\n");

QStringList Entries(const QString& list) {
  QStringList lines = NormalizeLineBreaks(list).split(QLatin1Char('\r'));
  for (QString& line : lines) line = line.trimmed();
  lines.removeAll(QString());
  return lines;
}

QString MissingElement(int index) { return QStringLiteral("the page has no element %1").arg(index); }

QString TwoDigitTurns(const QString& turns) {
  bool number = false;
  const int value = turns.trimmed().toInt(&number);
  return number ? QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')) : turns;
}

}  // namespace

ForumPostingRun::ForumPostingRun(platform::browser::WebBrowser& browser, QString forumRoot, Progress progress)
    : browser_(browser), root_(std::move(forumRoot)), progress_(std::move(progress)) {}

bool ForumPostingRun::fail(const QString& step, const QString& why) {
  SendStepNoOp(step, QStringLiteral("Err"));
  if (failure_.isEmpty()) failure_ = step + QStringLiteral(": ") + why;
  g_AbortWeb = true;
  return false;
}

bool ForumPostingRun::browserFailed(const QString& step) {
  if (failure_.isEmpty()) pageRefusal_ = browser_.document().refusalReason();
  return fail(step, browser_.lastError());
}

bool ForumPostingRun::navigate(const QString& address, const QString& tipKey, int percent) {
  if (!tipKey.isEmpty()) progress_(tipKey, percent);
  if (browser_.Navigate(address)) return true;
  return browserFailed(QStringLiteral("navigate"));
}

bool ForumPostingRun::logOn(const QString& account, const QString& tipKey, int percent) {
  const QString page = root_ + QStringLiteral("logging.php?action=login");
  if (!navigate(page, tipKey, percent)) return false;
  auto& page_ = browser_.document();
  const int form = page_.formByName(QStringLiteral("login"));
  const int user = page_.fieldOfForm(form, QStringLiteral("username"));
  const int password = page_.fieldOfForm(form, QStringLiteral("password"));
  const int submit = page_.fieldOfForm(form, QStringLiteral("loginsubmit"));
  if (user < 0 || password < 0 || submit < 0) return fail(QStringLiteral("log on"), QStringLiteral("no log-on form"));
  page_.setValue(user, account);
  page_.setValue(password, account);
  SendStepNoOp(QStringLiteral("loginsubmit"), QStringLiteral("06"));
  if (!browser_.Click(submit)) return browserFailed(QStringLiteral("log on"));
  return true;
}

bool ForumPostingRun::LogOnShared() {
  SendStepNoOp(root_ + QStringLiteral("logging.php?action=login"), QStringLiteral("14"));
  SendStepNoOp(QStringLiteral("user:") + kSharedAccount, QStringLiteral("05"));
  return logOn(kSharedAccount, QStringLiteral("Tips02"), 25) || fail(QStringLiteral("do logon dummy"), failure_);
}

bool ForumPostingRun::LogOnForEdit(const QString& account) {
  SendStepNoOp(root_ + QStringLiteral("logging.php?action=login"), QStringLiteral("13"));
  return logOn(account, QStringLiteral("Tips04"), 40) || fail(QStringLiteral("do logon for edit"), failure_);
}

bool ForumPostingRun::SearchScoreThread(const QString& searchText, const QString& sourceLang,
                                        const QString& targetLang, bool& found) {
  found = false;
  SendStepNoOp(root_ + QStringLiteral("search.php"), QStringLiteral("07"));
  if (!navigate(root_ + QStringLiteral("search.php"), QStringLiteral("Tips03"), 30)) {
    return fail(QStringLiteral("do_search"), failure_);
  }
  auto& page = browser_.document();
  const int form = page.form(0);
  const int field = page.fieldOfForm(form, QStringLiteral("srchtxt"));
  const int submit = page.fieldOfForm(form, QStringLiteral("searchsubmit"));
  if (field < 0 || submit < 0) return fail(QStringLiteral("do_search"), QStringLiteral("no search form"));
  SendStepNoOp(QStringLiteral("searchtext"), QStringLiteral("08"));
  page.setValue(field, searchText);
  if (!browser_.Click(submit)) return browserFailed(QStringLiteral("do_search"));

  auto& results = browser_.document();
  SendStepNoOp(QStringLiteral("oIE.Document.All.Item(63).innertext"), QStringLiteral("09"));
  // A result page without the result's element is not the forum's result page: reading it as
  // "no thread" would start a second thread for the library.
  if (!results.has(kFirstResultElement)) return fail(QStringLiteral("do_search"), MissingElement(kFirstResultElement));
  const QString title = results.innerText(kFirstResultElement);
  const qsizetype marks = title.indexOf(QStringLiteral("::"));
  if (marks < 0) {
    edit_user = ThreadAccount(sourceLang + targetLang + kThreadSerial);
    return true;
  }
  edit_user = ThreadAccount(title.left(marks));
  SendStepNoOp(QStringLiteral("oIE.Document.All.Item(63).outerHTML"), QStringLiteral("10"));
  const QString html = results.outerHtml(kFirstResultElement);
  SendStepNoOp(QStringLiteral("abc_link"), QStringLiteral("11"));
  const qsizetype start = html.indexOf(QStringLiteral("viewthread.php?"));
  const qsizetype end = start < 0 ? -1 : html.indexOf(QStringLiteral(".abc"), start);
  if (end < 0) return fail(QStringLiteral("do_search"), QStringLiteral("the result has no thread link"));
  abc_link = root_ + html.mid(start, end + 4 - start);
  found = true;
  return true;
}

bool ForumPostingRun::LogOffForum() {
  g_WebStatusText = QStringLiteral("do_logoff");
  SendStepNoOp(QStringLiteral("oIE.Document.All.Item(31).outerHTML"), QStringLiteral("12"));
  if (!browser_.document().has(kLogOffLinkElement)) {
    return fail(QStringLiteral("do_logoff"), MissingElement(kLogOffLinkElement));
  }
  const QString html = browser_.document().outerHtml(kLogOffLinkElement);
  const qsizetype start = html.indexOf(QStringLiteral("logging.php?"));
  const qsizetype end = html.indexOf(QStringLiteral(">退出"));
  if (start < 0 || end - 1 <= start) return fail(QStringLiteral("do_logoff"), QStringLiteral("no log-off link"));
  QString address = html.mid(start, end - 1 - start);
  const qsizetype amp = address.indexOf(QStringLiteral("amp;"));
  if (amp < 0) return fail(QStringLiteral("do_logoff"), QStringLiteral("no log-off link"));
  address.remove(amp, 4);
  SendStepNoOp(QStringLiteral("Navigate (abc_link)"), QStringLiteral("12"));
  return navigate(root_ + address, QStringLiteral("Tips04"), 40) || fail(QStringLiteral("do_logoff"), failure_);
}

bool ForumPostingRun::GetTopList() {
  SendStepNoOp(QStringLiteral("get_top_list"), QStringLiteral("15"));
  if (!navigate(abc_link, QStringLiteral("Tips05"), 50)) return fail(QStringLiteral("get top list"), failure_);
  const int description = browser_.document().byName(QStringLiteral("description"));
  if (description < 0) return fail(QStringLiteral("get top list"), QStringLiteral("the thread shows no list"));
  top_list_text = browser_.document().attribute(description, QStringLiteral("content"));
  return true;
}

bool ForumPostingRun::answerShows(const QString& list) {
  auto& answer = browser_.document();
  const int description = answer.byName(QStringLiteral("description"));
  if (description >= 0 && Entries(answer.attribute(description, QStringLiteral("content"))) == Entries(list)) {
    return true;
  }
  return fail(QStringLiteral("post"), QStringLiteral("the forum did not take the new list"));
}

bool ForumPostingRun::writeToThread(const QString& list) {
  auto& thread = browser_.document();
  const int anchor = thread.byId(QStringLiteral("ad_thread1_0"));
  const QString editPage = anchor < 0 ? QString() : thread.href(anchor - kEditLinkBeforeThread);
  if (editPage.isEmpty()) return fail(QStringLiteral("edit"), QStringLiteral("the thread has no edit link"));
  if (!navigate(editPage, QStringLiteral("Tips07"), 85)) return false;
  auto& edit = browser_.document();
  const int form = edit.form(0);
  const int message = edit.fieldOfForm(form, QStringLiteral("message"));
  if (message < 0) return fail(QStringLiteral("edit"), QStringLiteral("the edit page has no message field"));
  edit.setValue(message, list);
  progress_(QStringLiteral("Tips08"), 90);
  if (!browser_.Submit(form)) return browserFailed(QStringLiteral("edit"));
  return answerShows(list);
}

bool ForumPostingRun::startThread(const QString& title, const QString& list) {
  if (!navigate(root_ + QStringLiteral("forum-2-1.html"), QString(), 0)) return false;
  SendStepNoOp(QStringLiteral("new post"), QStringLiteral("20"));
  auto& forum = browser_.document();
  const int menu = forum.byName(QStringLiteral("newspecial_menu"));
  const QString newThreadPage = menu < 0 ? QString() : forum.href(menu + kNewThreadLinkAfterMenu);
  if (newThreadPage.isEmpty()) return fail(QStringLiteral("new post"), QStringLiteral("no new-thread link"));
  if (!navigate(newThreadPage, QString(), 0)) return false;
  SendStepNoOp(QStringLiteral("new post info"), QStringLiteral("21"));
  auto& page = browser_.document();
  const int form = page.form(0);
  const int subject = page.fieldOfForm(form, QStringLiteral("subject"));
  const int message = page.fieldOfForm(form, QStringLiteral("message"));
  if (subject < 0 || message < 0) return fail(QStringLiteral("new post"), QStringLiteral("no new-thread form"));
  page.setValue(subject, title);
  page.setValue(message, list);
  progress_(QStringLiteral("Tips08"), 90);
  if (!browser_.Submit(form)) return browserFailed(QStringLiteral("new post"));
  return answerShows(list);
}

PostingResult ForumPostingRun::run(const QString& sourceLang, const QString& targetLang, const QString& fileName,
                                   const GameEntry& entry) {
  PostingResult result;
  failure_.clear();
  pageRefusal_ = platform::browser::PageRefusal::None;
  g_AbortWeb = false;
  SendStepNoOp(QStringLiteral("Start!"), QStringLiteral("00"));
  // Nothing is sent for an identity the board cannot tell apart, or without a game to post.
  if (!IsUsableIdentity(entry.identity)) {
    result.failure = QStringLiteral("identity");
    return result;
  }
  if (entry.turns.trimmed().isEmpty() || entry.time.trimmed().isEmpty()) {
    result.failure = QStringLiteral("no game");
    return result;
  }
  const QString turns = TwoDigitTurns(entry.turns);
  const QString title = ThreadTitle(sourceLang, targetLang, fileName);
  auto aborted = [this] {
    if (g_AbortWeb && failure_.isEmpty()) failure_ = QStringLiteral("stopped");
    return g_AbortWeb;
  };

  SendStepNoOp(QStringLiteral("Create oIE"), QStringLiteral("01"));
  SendStepNoOp(root_ + QStringLiteral("index.php"), QStringLiteral("02"));
  if (!navigate(root_ + QStringLiteral("index.php"), QStringLiteral("Tips01"), 20)) {
    result.failure = failure_;
    result.pageRefusal = pageRefusal_;
    return result;
  }
  SendStepNoOp(QStringLiteral("oIE.Document.All.Item(29).innertext"), QStringLiteral("03"));
  if (!browser_.document().has(kHeaderUserElement)) {
    fail(QStringLiteral("index"), MissingElement(kHeaderUserElement));
    result.failure = failure_;
    return result;
  }
  const QString header = browser_.document().innerText(kHeaderUserElement).trimmed();
  if (!header.contains(kAccountSuffix) && !header.contains(kOperatorAccount)) LogOnShared();

  bool found = false;
  if (!aborted()) SearchScoreThread(title, sourceLang, targetLang, found);
  if (!aborted() && !found) SearchScoreThread(fileName, sourceLang, targetLang, found);
  if (!aborted() && header != edit_user) {
    if (LogOffForum()) LogOnForEdit(edit_user);
  }

  if (!aborted() && found) {
    if (GetTopList()) {
      progress_(QStringLiteral("Tips06"), 80);
      const QString list = InsertRankedEntry(RemoveOwnEntries(top_list_text + kCrLf, entry.identity) + kCrLf,
                                             turns, entry.time, entry.identity);
      if (writeToThread(list)) result.list = list;
    }
  } else if (!aborted()) {
    const QString list = InsertRankedEntry(kCrLf, turns, entry.time, entry.identity);
    if (startThread(title, list + kCrLf)) result.list = list + kCrLf;
  }
  aborted();
  result.ok = failure_.isEmpty() && !result.list.isEmpty();
  result.failure = failure_;
  result.pageRefusal = pageRefusal_;
  if (result.ok) progress_(QStringLiteral("Tips09"), 100);
  return result;
}

}  // namespace scoreboard
