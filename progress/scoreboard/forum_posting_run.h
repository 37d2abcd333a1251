#pragma once
// One posting of a game result to the forum's score board: log on, find the library's thread,
// read its list, put the new result at its rank (dropping the player's older ones), and write the
// list back through the thread's edit page as the thread's account, or start the thread when
// the library has none. The answer page must show the new list, or the posting failed.
//
// Every page is fetched through a WebBrowser whose transfers let the windows run; the run ends
// at once when g_AbortWeb is set (the Stop button) or a page does not come within its time-out.

#include "platform/browser/web_browser.h"

#include <QString>

#include <functional>

namespace scoreboard {

struct GameEntry {
  QString turns;     // the game's turn count
  QString time;      // its time, "hh:mm:ss"
  QString identity;  // the player's identity, "name@..."
};

struct PostingResult {
  bool ok = false;
  QString list;     // the list as written to the forum
  QString failure;  // which step failed, and why
  // Why the page that ended the posting was not read, when that was the cause.
  platform::browser::PageRefusal pageRefusal = platform::browser::PageRefusal::None;
};

class ForumPostingRun {
 public:
  // `progress` is called with a text key of the window's language section and a percentage.
  using Progress = std::function<void(const QString& tipKey, int percent)>;

  ForumPostingRun(platform::browser::WebBrowser& browser, QString forumRoot, Progress progress);

  PostingResult run(const QString& sourceLang, const QString& targetLang, const QString& fileName,
                    const GameEntry& entry);

 private:
  bool navigate(const QString& address, const QString& tipKey, int percent);
  bool logOn(const QString& account, const QString& tipKey, int percent);
  bool LogOnShared();
  bool LogOnForEdit(const QString& account);
  bool SearchScoreThread(const QString& searchText, const QString& sourceLang, const QString& targetLang,
                         bool& found);
  bool LogOffForum();
  bool GetTopList();
  bool writeToThread(const QString& list);
  bool startThread(const QString& title, const QString& list);
  bool answerShows(const QString& list);
  bool fail(const QString& step, const QString& why);
  // Fails the step with the browser's reason, keeping why its page was refused.
  bool browserFailed(const QString& step);

  platform::browser::WebBrowser& browser_;
  QString root_;
  Progress progress_;
  QString abc_link;
  QString edit_user;
  QString top_list_text;
  QString failure_;
  platform::browser::PageRefusal pageRefusal_ = platform::browser::PageRefusal::None;
};

}  // namespace scoreboard
