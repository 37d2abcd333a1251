#pragma once
// A small web forum served on the loopback interface for the score board's tests. It has the
// pages, forms and element positions the posting run walks through: log-on and log-off, search,
// thread pages whose description holds the score list, the owner's edit page and the new-thread
// page. Accounts log on with their password; cookies keep the session.

#include <QString>

#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "tests/support/loopback_listener.h"

namespace httplib {
class Server;
}

namespace testing_support {

class LoopbackForum {
 public:
  struct Thread {
    int id = 0;
    QString title;
    QString owner;
    QString list;  // the post's text: the score list
  };

  LoopbackForum();
  ~LoopbackForum();
  LoopbackForum(const LoopbackForum&) = delete;
  LoopbackForum& operator=(const LoopbackForum&) = delete;

  QString root() const;  // "http://127.0.0.1:PORT/"

  void addAccount(const QString& name, const QString& password);
  int addThread(const QString& title, const QString& owner, const QString& list);
  std::vector<Thread> threads() const;
  // Makes every page of this path (e.g. "search.php") wait until the forum stops.
  void stall(const std::string& path);
  // Accepts edits and new threads but keeps the old text (a forum that loses posts).
  void dropPosts() { dropPosts_ = true; }
  // The search result page becomes this page (a page of another layout, or a hostile one).
  void answerSearchWith(const std::string& page);
  // The search result page never ends: its bytes keep coming until the forum stops.
  void answerSearchEndlessly();

 private:
  struct State;
  std::unique_ptr<State> state_;
  std::unique_ptr<httplib::Server> server_;
  std::unique_ptr<LoopbackListener> listener_;  // last: stops the server before it goes
  std::atomic<bool> dropPosts_{false};
};

}  // namespace testing_support
