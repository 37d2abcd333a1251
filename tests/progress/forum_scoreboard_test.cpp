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
#include "tests/support/loopback_forum.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/temp_folders.h"
#include "tests/support/x11_tools.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QTimer>

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cstdio>
#include <string>

namespace {

using testing_support::LoopbackForum;

const QString kTitle = QStringLiteral("AC01::Words.abc");
const QString kOwner = QStringLiteral("AC01Lxsb");

// The process's highest resident memory so far.
long PeakMemoryKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

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
  }
  void TearDown() override {
    platform::UnloadAllForms();
    platform::SetProgramFolder(QString());
    ForumScoreboard::TearDown();
  }

  testing_support::TempFolders folders_;
  testing_support::ScopedRecordingDialogs dialogs;
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

// Pages the forum must never be trusted with: each ends the posting with "error", within the
// page time-out and without holding more than a few times the page size limit in memory, and
// nothing is written to the forum.
TEST_F(ScoreboardWindow, AHostileOrStrangeSearchPageEndsThePostingWithError) {
  std::string deep = "<!DOCTYPE html><html><body>";
  for (int level = 0; level < 20000; ++level) deep += "<div>";
  std::string options = "<html><body><svg>";  // 2.4 MB: the parser's tree would be 300,000 deep
  for (int option = 0; option < 300000; ++option) options += "<option>";
  std::string paragraphs = "<html><body><svg></svg>";  // 8 MB: 2.5 million elements
  while (paragraphs.size() + 3 <= 8 * 1024 * 1024) paragraphs += "<p>";
  const struct {
    const char* name;
    std::string page;  // empty: a page that never ends
  } cases[] = {
      {"20,000 nested elements", deep},
      {"an svg then 300,000 options", options},
      {"an svg then 2.5 million paragraphs", paragraphs},
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
    const long peakBefore = PeakMemoryKilobytes();
    QElapsedTimer clock;
    clock.start();
    frmSendProgress::instance();  // its timer starts the posting
    EXPECT_TRUE(testing_support::WaitUntil([] { return !frmSendProgress::loaded(); }, std::chrono::seconds(30))) << c.name;
    EXPECT_LT(clock.elapsed(), 10000) << c.name;
    EXPECT_LT(PeakMemoryKilobytes() - peakBefore, 256 * 1024) << c.name;
    ASSERT_EQ(dialogs->messages.size(), 1u) << c.name;
    EXPECT_TRUE(dialogs->messages[0].text.startsWith(QStringLiteral("error"))) << c.name;
    EXPECT_FALSE(frmTopList::loaded()) << c.name;
    EXPECT_EQ(forum.threads().size(), 1u) << c.name << ": no second thread is started";
    std::printf("%s: error after %lld ms: %s\n", c.name, static_cast<long long>(clock.elapsed()),
                qPrintable(dialogs->messages[0].text.simplified()));
  }
}

}  // namespace
