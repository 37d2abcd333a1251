// The score board's posting run against a forum served on loopback: writing into the library's
// thread as its owner, starting the thread, and every way a posting can fail without being
// reported as done. The window's Stop ends a stalled posting at once.

#include "core/vars_bas.h"
#include "platform/app/folders.h"
#include "platform/browser/web_browser.h"
#include "platform/ini/ini.h"
#include "progress/scoreboard/forum_posting_run.h"
#include "platform/forms/default_instance.h"
#include "progress/game/frmCampaignButton.h"
#include "progress/scoreboard/frmSendProgress.h"
#include "progress/scoreboard/frmTopList.h"
#include "reader/sanitizer_memory_limit.h"
#include "tests/support/loopback_forum.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/temp_folders.h"
#include "tests/support/x11_tools.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

namespace {

using testing_support::LoopbackForum;

const QString kTitle = QStringLiteral("AC01::Words.abc");
const QString kOwner = QStringLiteral("AC01Lxsb");

QStringList Entries(const QString& list) {
  return QString(list).replace(QLatin1Char('\n'), QLatin1Char('\r')).split(QLatin1Char('\r'), Qt::SkipEmptyParts);
}

class ForumScoreboard : public ::testing::Test {
 protected:
  void SetUp() override {
    forum_.addAccount(QStringLiteral("LexScore01"), QStringLiteral("LexScore01"));
  }

  scoreboard::PostingResult post(const QString& identity = QStringLiteral("ann@example.org")) {
    platform::browser::WebBrowser browser;
    browser.setTimeout(std::chrono::milliseconds(2000));
    scoreboard::ForumPostingRun run(browser, forum_.root(), [](const QString&, int) {});
    return run.run(QStringLiteral("A"), QStringLiteral("C"), QStringLiteral("Words.abc"),
                   {QStringLiteral("7"), QStringLiteral("00:00:50"), identity});
  }

  LoopbackForum forum_;
};

TEST_F(ForumScoreboard, WritesTheRankedListIntoTheLibrarysThread) {
  forum_.addAccount(kOwner, kOwner);
  forum_.addThread(kTitle, kOwner,
                   QStringLiteral("05 00:00:40 bob@*\r\n09 00:01:00 ann@*\r\n12 00:02:00 cat@*\r\n"));
  QElapsedTimer clock;
  clock.start();
  const auto result = post();
  std::printf("full posting run on loopback: %lld ms\n", static_cast<long long>(clock.elapsed()));
  ASSERT_TRUE(result.ok) << result.failure.toStdString();
  const QStringList expected = {"05 00:00:40 bob@*", "07 00:00:50 ann@*", "12 00:02:00 cat@*"};
  EXPECT_EQ(Entries(forum_.threads().at(0).list), expected);
  EXPECT_EQ(Entries(result.list), expected);
}

TEST_F(ForumScoreboard, StartsTheThreadWhenTheLibraryHasNone) {
  forum_.addAccount(kOwner, kOwner);
  forum_.addThread(QStringLiteral("GC01::Other.abc"), QStringLiteral("GC01Lxsb"), QStringLiteral("01 00:00:01 z@*\r\n"));
  const auto result = post();
  ASSERT_TRUE(result.ok) << result.failure.toStdString();
  const auto threads = forum_.threads();
  ASSERT_EQ(threads.size(), 2u);
  EXPECT_EQ(threads[1].title, kTitle);
  EXPECT_EQ(threads[1].owner, kOwner);
  EXPECT_EQ(Entries(threads[1].list), QStringList({"07 00:00:50 ann@*"}));
}

TEST_F(ForumScoreboard, FailuresAreNeverReportedAsDone) {
  const struct {
    const char* name;
    QString ownerPassword;
    bool dropPosts;
    QString identity;
  } cases[] = {
      {"wrong password", QStringLiteral("not-the-name"), false, QStringLiteral("ann@example.org")},
      {"forum loses the post", kOwner, true, QStringLiteral("ann@example.org")},
      {"identity without @", kOwner, false, QStringLiteral("ann")},
  };
  for (const auto& c : cases) {
    LoopbackForum forum;
    forum.addAccount(QStringLiteral("LexScore01"), QStringLiteral("LexScore01"));
    forum.addAccount(kOwner, c.ownerPassword);
    forum.addThread(kTitle, kOwner, QStringLiteral("05 00:00:40 bob@*\r\n"));
    if (c.dropPosts) forum.dropPosts();
    platform::browser::WebBrowser browser;
    scoreboard::ForumPostingRun run(browser, forum.root(), [](const QString&, int) {});
    const auto result = run.run(QStringLiteral("A"), QStringLiteral("C"), QStringLiteral("Words.abc"),
                                {QStringLiteral("7"), QStringLiteral("00:00:50"), c.identity});
    EXPECT_FALSE(result.ok) << c.name;
    EXPECT_FALSE(result.failure.isEmpty()) << c.name;
    if (!c.dropPosts) {
      EXPECT_EQ(Entries(forum.threads().at(0).list), QStringList({"05 00:00:40 bob@*"})) << c.name;
    }
  }
}

TEST_F(ForumScoreboard, AStalledPageTimesOut) {
  forum_.stall("search.php");
  platform::browser::WebBrowser browser;
  browser.setTimeout(std::chrono::milliseconds(300));
  QElapsedTimer clock;
  clock.start();
  scoreboard::ForumPostingRun run(browser, forum_.root(), [](const QString&, int) {});
  const auto result = run.run(QStringLiteral("A"), QStringLiteral("C"), QStringLiteral("Words.abc"),
                              {QStringLiteral("7"), QStringLiteral("00:00:50"), QStringLiteral("ann@example.org")});
  EXPECT_FALSE(result.ok);
  EXPECT_LT(clock.elapsed(), 3000);
}

// The score board window as it is used: on the program's settings, with a finished game.
class ScoreboardWindow : public ForumScoreboard {
 protected:
  void SetUp() override {
    ForumScoreboard::SetUp();
    platform::SetProgramFolder(folders_.programFolder());
    platform::WriteProfileString(folders_.programFolder() + "Settings.ini", "Global", "ForumRoot", forum_.root());
    g_UserIdentity = QStringLiteral("ann@example.org");
    g_SourceLang = QStringLiteral("A");
    g_TargetLang = QStringLiteral("C");
    g_LibraryFileName = QStringLiteral("Words.abc");
    frmCampaignButton::instance().LastTurns = 7;
    frmCampaignButton::instance().LastTime = QStringLiteral("00:00:50");
    // The shipped Chinese texts: messages are checked in the learner's language.
    QFile::copy(QStringLiteral(LEXORN_APP_DIR "/LANG_C.dat"), folders_.programFolder() + "LANG_C.dat");
    language_ = g_UILanguage;
    g_UILanguage = QStringLiteral("C");
  }
  void TearDown() override {
    g_UILanguage = language_;
    platform::UnloadAllForms();
    platform::SetProgramFolder(QString());
    ForumScoreboard::TearDown();
  }

  testing_support::TempFolders folders_;
  testing_support::ScopedRecordingDialogs dialogs;
  QString language_;
};

TEST_F(ScoreboardWindow, ShowsTheNewBoardInTheTopList) {
  forum_.addAccount(kOwner, kOwner);
  forum_.addThread(kTitle, kOwner, QStringLiteral("05 00:00:40 bob@*\r\n12 00:02:00 cat@*\r\n"));
  QStringList shown;
  // The top list is shown modally: read it from inside its own event loop, then close it.
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (!frmTopList::loaded() || !frmTopList::instance().isVisible()) return;
    for (int row = 0; row < frmTopList::kRows; ++row) {
      const auto i = static_cast<std::size_t>(row);
      shown << (frmTopList::instance().Lbl_Seq[i]->caption() + frmTopList::instance().Lbl_Point[i]->caption() +
                QLatin1Char('|') + frmTopList::instance().Lbl_ValueTime[i]->caption() + QLatin1Char('|') +
                frmTopList::instance().Lbl_User[i]->caption());
    }
    frmTopList::instance().Picture2->mouse().onClick();
  });
  poll.start(20);
  frmSendProgress::instance();  // its timer starts the posting
  EXPECT_TRUE(testing_support::WaitUntil([&] { return !shown.isEmpty() && !frmTopList::loaded(); }, std::chrono::seconds(10)));
  EXPECT_TRUE(dialogs->messages.empty());
  EXPECT_EQ(shown, QStringList({"1|05 00:00:40 | bob@*", "2->|07 00:00:50 | ann@*", "3|12 00:02:00 | cat@*", "||", "||"}));
}

TEST_F(ScoreboardWindow, StopEndsThePostingAtOnce) {
  forum_.stall("search.php");

  // The posting runs inside the window's own timer tick, so Stop is clicked from the event loop
  // the posting keeps running while it waits for the stalled page.
  QElapsedTimer sinceStop;
  QTimer::singleShot(800, [&sinceStop] {
    sinceStop.start();
    frmSendProgress::instance().cmdStop->click();
  });
  frmSendProgress::instance();  // its timer starts the posting
  EXPECT_TRUE(testing_support::WaitUntil([] { return !frmSendProgress::loaded(); }, std::chrono::seconds(10)));
  ASSERT_TRUE(sinceStop.isValid());
  EXPECT_LT(sinceStop.elapsed(), 500);
  ASSERT_EQ(dialogs->messages.size(), 1u);
  EXPECT_TRUE(dialogs->messages[0].text.startsWith(QStringLiteral("error")));
  EXPECT_TRUE(g_TopListText.isEmpty());
}

// What the program does while the reader reads a page: how often the window painted (a timer
// asks for a paint every 50 ms), the longest wait between two paints, and the program's own peak
// memory from the start of the watch.
class ReadingWatch : public QObject {
 public:
  ReadingWatch() {
    // Makes the kernel's peak resident size start again from the present one.
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly)) clear.write("5");
    baseline_ = StatusKilobytes("VmRSS:");
    canvas_.resize(64, 64);
    canvas_.installEventFilter(this);
    canvas_.show();
    QObject::connect(&tick_, &QTimer::timeout, &canvas_, qOverload<>(&QWidget::update));
    tick_.start(50);
    sincePaint_.start();
  }
  int paints() const { return paints_; }
  qint64 longestWait() const { return std::max(longest_, sincePaint_.elapsed()); }
  long peakGrowthKilobytes() const { return StatusKilobytes("VmHWM:") - baseline_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      ++paints_;
      longest_ = std::max(longest_, sincePaint_.restart());
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  static long StatusKilobytes(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
      if (line.startsWith(field)) return line.mid(static_cast<qsizetype>(std::strlen(field))).trimmed().split(' ')[0].toLong();
    }
    return 0;
  }

  QWidget canvas_;
  QTimer tick_;
  QElapsedTimer sincePaint_;
  qint64 longest_ = 0;
  int paints_ = 0;
  long baseline_ = 0;
};

// True while a reader this process started is running.
bool ReaderRunning() {
  const QDir tasks(QStringLiteral("/proc/self/task"));
  for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    QFile children(tasks.filePath(task + QStringLiteral("/children")));
    if (!children.open(QIODevice::ReadOnly)) continue;
    for (const QByteArray& pid : children.readAll().split(' ')) {
      QFile name(QStringLiteral("/proc/%1/comm").arg(QString::fromLatin1(pid.trimmed())));
      if (!pid.trimmed().isEmpty() && name.open(QIODevice::ReadOnly) && name.readAll().trimmed() == "lexorn2-reader") {
        return true;
      }
    }
  }
  return false;
}

std::string Repeat(const char* unit, int times) { return QByteArray(unit).repeated(times).toStdString(); }

// The hostile pages below, built when their test runs (the largest is 8 MB).
std::string TemplateTrap() { return "<html><body><template/><col><title>"; }
std::string ManyAttributes() {
  std::string page = TemplateTrap() + "<b";
  for (int i = 0; i < 80000; ++i) page += " a" + std::to_string(i);
  return page + ">";
}
std::string Paragraphs() {
  std::string page = "<html><body><svg></svg>";
  while (page.size() + 3 <= 8 * 1024 * 1024) page += "<p>";
  return page;
}

struct HostilePage {
  const char* name;
  std::string (*page)();
  std::vector<QString> causes;  // the message names one of these
  bool stop;                    // Stop is clicked while the reader works
};
void PrintTo(const HostilePage& page, std::ostream* out) { *out << page.name; }

// Search pages the forum must never be trusted with, each of which once crashed the program, took
// its memory or froze its window: the reader refuses each within its bounds, the posting ends
// with an error that names the cause in the learner's language, the window paints all the while,
// the program itself stays small, and nothing is written to the forum. Where the reading takes
// long enough to be stopped, Stop is heard within half a second.
class HostileSearchPage : public ScoreboardWindow, public ::testing::WithParamInterface<HostilePage> {};

TEST_P(HostileSearchPage, IsRefusedWhileTheWindowPaints) {
  const HostilePage& c = GetParam();
  LoopbackForum forum;
  forum.addAccount(QStringLiteral("LexScore01"), QStringLiteral("LexScore01"));
  forum.addAccount(kOwner, kOwner);
  forum.addThread(QStringLiteral("GC01::Other.abc"), QStringLiteral("GC01Lxsb"), QStringLiteral("01 00:00:01 z@*\r\n"));
  forum.answerSearchWith(c.page());
  platform::WriteProfileString(folders_.programFolder() + "Settings.ini", "Global", "ForumRoot", forum.root());
  // The forum's ordinary pages are read in well under a second: a reader still at work after one
  // is reading the hostile page.
  QElapsedTimer readerAtWork;
  qint64 longestReading = 0;
  QElapsedTimer sinceStop;
  QTimer watchReader;
  QObject::connect(&watchReader, &QTimer::timeout, [&] {
    if (!ReaderRunning()) {
      readerAtWork.invalidate();
      return;
    }
    if (!readerAtWork.isValid()) readerAtWork.start();
    longestReading = std::max(longestReading, readerAtWork.elapsed());
    if (!c.stop || sinceStop.isValid() || readerAtWork.elapsed() < 1000 || !frmSendProgress::loaded()) return;
    sinceStop.start();
    frmSendProgress::instance().cmdStop->click();
  });
  watchReader.start(20);
  const ReadingWatch watch;
  frmSendProgress::instance();  // its timer starts the posting
  ASSERT_TRUE(testing_support::WaitUntil([] { return !frmSendProgress::loaded(); }, std::chrono::seconds(40)));
  const auto deadline = platform::browser::PageReaderRun({}).limits.deadline;
  EXPECT_GT(longestReading, 0);
  EXPECT_LT(longestReading, (deadline + std::chrono::seconds(1)).count());
  // The address sanitizer keeps freed memory in quarantine (256 MB by default) before it reuses
  // it, so there the bound only tells a runaway from the page's own copies.
  EXPECT_LT(watch.peakGrowthKilobytes(), (reader::kSanitizerReservesAddressSpace ? 512 : 128) * 1024);
  EXPECT_GT(watch.paints(), 0);
  EXPECT_LT(watch.longestWait(), 1000);  // a busy machine may hold the window back a little
  ASSERT_EQ(dialogs->messages.size(), 1u);
  const QString message = dialogs->messages[0].text;
  EXPECT_TRUE(message.startsWith(QStringLiteral("error")));
  if (c.stop) {
    ASSERT_TRUE(sinceStop.isValid());
    EXPECT_LT(sinceStop.elapsed(), 500);
    EXPECT_TRUE(message.contains(QStringLiteral("do_search: stopped"))) << message.toStdString();
  } else {
    EXPECT_TRUE(std::any_of(c.causes.begin(), c.causes.end(), [&](const QString& cause) { return message.contains(cause); }))
        << message.toStdString();
  }
  EXPECT_FALSE(frmTopList::loaded());
  EXPECT_EQ(forum.threads().size(), 1u) << "no second thread is started";
  std::printf("%s: reader at work %lld ms, program grew %ld KB, longest paint wait %lld ms: %s\n", c.name,
              static_cast<long long>(longestReading), watch.peakGrowthKilobytes(),
              static_cast<long long>(watch.longestWait()), qPrintable(message.simplified()));
}

// Which limit stops a page first can depend on how busy the machine is: where two can, either
// cause is right.
const QString kTooDeep = QStringLiteral("嵌套超过 1000 层");
const QString kTooManyElements = QStringLiteral("元素超过 200000 个");
const QString kOutOfTime = QStringLiteral("限定时间");
const QString kOutOfMemory = QStringLiteral("内存超过允许的上限");

INSTANTIATE_TEST_SUITE_P(
    Families, HostileSearchPage,
    ::testing::Values(
        HostilePage{"Deep", [] { return "<html><body>" + Repeat("<div>", 20000); }, {kTooDeep}, false},
        HostilePage{"TemplateTree", [] { return TemplateTrap() + Repeat("<template>", 300000); }, {kTooDeep}, false},
        HostilePage{"ColumnsWithAnAttribute", [] { return TemplateTrap() + Repeat("<col a>", 1000000); },
                    {kTooManyElements, kOutOfMemory, kOutOfTime}, false},
        HostilePage{"ColumnsWithAnAttributeStopped", [] { return TemplateTrap() + Repeat("<col a>", 1000000); }, {}, true},
        HostilePage{"ManyAttributes", ManyAttributes, {kOutOfTime, QStringLiteral("属性超过 256 个")}, false},
        HostilePage{"ManyAttributesStopped", ManyAttributes, {}, true},
        HostilePage{"MisnestedMenuItems", [] { return Repeat("<menuitem><span></menuitem>", 99000); },
                    {kOutOfTime, kTooDeep}, false},
        HostilePage{"MisnestedMenuItemsStopped", [] { return Repeat("<menuitem><span></menuitem>", 99000); }, {}, true},
        HostilePage{"Wide", Paragraphs, {kTooManyElements, kOutOfMemory, kOutOfTime}, false}),
    [](const ::testing::TestParamInfo<HostilePage>& info) { return std::string(info.param.name); });

// Ordinary pages that are not the forum's: the posting ends with an error and writes nothing.
TEST_F(ScoreboardWindow, AStrangeOrEndlessSearchPageEndsThePostingWithError) {
  const struct {
    const char* name;
    std::string page;  // empty: a page that never ends
  } cases[] = {
      {"a page that never ends", {}},
      {"no element 63", "<html><body><a href=\"logging.php?action=logout&amp;formhash=f\">退出</a></body></html>"},
  };
  for (const auto& c : cases) {
    LoopbackForum forum;
    forum.addAccount(QStringLiteral("LexScore01"), QStringLiteral("LexScore01"));
    forum.addAccount(kOwner, kOwner);
    forum.addThread(QStringLiteral("GC01::Other.abc"), QStringLiteral("GC01Lxsb"), QStringLiteral("01 00:00:01 z@*\r\n"));
    if (c.page.empty()) {
      forum.answerSearchEndlessly();
    } else {
      forum.answerSearchWith(c.page);
    }
    platform::WriteProfileString(folders_.programFolder() + "Settings.ini", "Global", "ForumRoot", forum.root());
    dialogs->messages.clear();
    frmSendProgress::instance();  // its timer starts the posting
    EXPECT_TRUE(testing_support::WaitUntil([] { return !frmSendProgress::loaded(); }, std::chrono::seconds(30))) << c.name;
    ASSERT_EQ(dialogs->messages.size(), 1u) << c.name;
    EXPECT_TRUE(dialogs->messages[0].text.startsWith(QStringLiteral("error"))) << c.name;
    EXPECT_FALSE(frmTopList::loaded()) << c.name;
    EXPECT_EQ(forum.threads().size(), 1u) << c.name << ": no second thread is started";
  }
}

}  // namespace
