#include "tests/support/loopback_forum.h"

#include <httplib.h>

#include <QString>
#include <QStringList>
#include <QUrl>

#include <condition_variable>
#include <set>
#include <utility>

namespace testing_support {
namespace {

// The fixed skeleton's elements before the body's content: html, head, meta, title, the head's
// extra elements, then body.
constexpr int kSkeletonElements = 5;

std::string Html(const QString& text) { return text.toHtmlEscaped().toStdString(); }

// A page whose body puts each fixed element at its position in document order; plain <i>
// elements fill the gaps. Each fixed snippet must be a single element without element children.
std::string Page(const std::vector<std::pair<int, std::string>>& fixed, const std::string& tail = {},
                 const std::string& headExtra = {}, int headExtraElements = 0) {
  std::string body;
  int position = kSkeletonElements + headExtraElements;
  for (const auto& [index, snippet] : fixed) {
    while (position < index) {
      body += "<i></i>";
      ++position;
    }
    body += snippet;
    ++position;
  }
  return "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Forum</title>" + headExtra +
         "</head><body>" + body + tail + "</body></html>";
}

}  // namespace

struct LoopbackForum::State {
  mutable std::mutex mutex;
  std::map<QString, QString> passwords;
  std::map<std::string, QString> sessions;  // cookie value -> user
  std::vector<Thread> threads;
  std::set<std::string> stalled;
  std::string searchAnswer;     // replaces the search result page when not empty
  bool endlessSearch = false;   // the search result page never ends
  int nextSession = 1;
  std::atomic<bool> stopping{false};
  std::condition_variable wake;

  QString user(const httplib::Request& request) const {
    const std::string cookie = request.get_header_value("Cookie");
    const auto at = cookie.find("sid=");
    if (at == std::string::npos) return {};
    const std::string sid = cookie.substr(at + 4, cookie.find(';', at) == std::string::npos
                                                      ? std::string::npos
                                                      : cookie.find(';', at) - at - 4);
    const auto found = sessions.find(sid);
    return found == sessions.end() ? QString() : found->second;
  }
  Thread* thread(int id) {
    for (Thread& t : threads) {
      if (t.id == id) return &t;
    }
    return nullptr;
  }
};

LoopbackForum::LoopbackForum() : state_(std::make_unique<State>()), server_(std::make_unique<httplib::Server>()) {
  State& s = *state_;
  auto html = [](httplib::Response& response, const std::string& page) {
    response.set_content(page, "text/html; charset=utf-8");
  };
  auto waitIfStalled = [&s](const std::string& path) {
    std::unique_lock lock(s.mutex);
    if (s.stalled.count(path)) s.wake.wait_for(lock, std::chrono::seconds(20), [&s] { return s.stopping.load(); });
  };

  server_->Get("/index.php", [&s, html, waitIfStalled](const httplib::Request& request, httplib::Response& response) {
    waitIfStalled("index.php");
    std::lock_guard lock(s.mutex);
    const QString user = s.user(request);
    html(response, Page({{29, "<span>" + Html(user.isEmpty() ? QStringLiteral("guest") : user) + "</span>"}}));
  });

  server_->Get("/logging.php", [&s, html](const httplib::Request& request, httplib::Response& response) {
    std::lock_guard lock(s.mutex);
    if (request.get_param_value("action") == "logout") {
      const std::string cookie = request.get_header_value("Cookie");
      for (auto it = s.sessions.begin(); it != s.sessions.end();) {
        it = cookie.find("sid=" + it->first) != std::string::npos ? s.sessions.erase(it) : std::next(it);
      }
      response.set_redirect("index.php");
      return;
    }
    html(response, Page({}, "<form name=\"login\" method=\"post\" action=\"logging.php?action=login\">"
                            "<input name=\"username\"><input type=\"password\" name=\"password\">"
                            "<input type=\"submit\" name=\"loginsubmit\" value=\"登录\"></form>"));
  });

  server_->Post("/logging.php", [&s, html](const httplib::Request& request, httplib::Response& response) {
    std::lock_guard lock(s.mutex);
    const QString user = QString::fromStdString(request.get_param_value("username"));
    const auto account = s.passwords.find(user);
    if (account == s.passwords.end() || account->second != QString::fromStdString(request.get_param_value("password"))) {
      html(response, Page({}, "<p>登录失败</p>"));
      return;
    }
    const std::string sid = "s" + std::to_string(s.nextSession++);
    s.sessions[sid] = user;
    response.set_header("Set-Cookie", "sid=" + sid + "; Path=/");
    response.set_redirect("index.php");
  });

  server_->Get("/search.php", [&s, html, waitIfStalled](const httplib::Request& request, httplib::Response& response) {
    waitIfStalled("search.php");
    std::lock_guard lock(s.mutex);
    if (!request.has_param("srchtxt")) {
      html(response, Page({}, "<form method=\"get\" action=\"search.php\"><input name=\"srchtxt\">"
                              "<input type=\"submit\" name=\"searchsubmit\" value=\"搜索\"></form>"));
      return;
    }
    if (s.endlessSearch) {
      response.set_chunked_content_provider("text/html", [&s](size_t, httplib::DataSink& sink) {
        static const std::string kChunk = [] {
          std::string chunk;
          while (chunk.size() < 65536) chunk += "<div>";
          return chunk;
        }();
        return !s.stopping && sink.write(kChunk.data(), kChunk.size());
      });
      return;
    }
    if (!s.searchAnswer.empty()) {
      html(response, s.searchAnswer);
      return;
    }
    const QString wanted = QString::fromStdString(request.get_param_value("srchtxt"));
    std::string first = "<p>没有找到相关主题</p>";
    for (const Thread& t : s.threads) {
      if (!wanted.isEmpty() && t.title.contains(wanted)) {
        first = "<a href=\"viewthread.php?tid=" + std::to_string(t.id) + "&amp;highlight=" +
                Html(QString::fromUtf8(QUrl::toPercentEncoding(t.title)).replace("%3A", ":")) + "\">" +
                Html(t.title) + "</a>";
        break;
      }
    }
    html(response, Page({{31, "<a href=\"logging.php?action=logout&amp;formhash=f00d\">退出</a>"}, {63, first}}));
  });

  server_->Get("/viewthread.php", [&s, html](const httplib::Request& request, httplib::Response& response) {
    std::lock_guard lock(s.mutex);
    const Thread* t = s.thread(std::atoi(request.get_param_value("tid").c_str()));
    if (!t) {
      response.status = 404;
      return;
    }
    const bool owner = s.user(request) == t->owner;
    const std::string edit = owner ? "<a href=\"post.php?action=edit&amp;tid=" + std::to_string(t->id) + "\">编辑</a>"
                                   : "<span>编辑</span>";
    html(response, Page({{20, edit}, {26, "<div id=\"ad_thread1_0\"></div>"}}, "<p>" + Html(t->list) + "</p>",
                        "<meta name=\"description\" content=\"" + Html(t->list) + "\">", 1));
  });

  server_->Get("/forum-2-1.html", [html](const httplib::Request&, httplib::Response& response) {
    html(response, Page({{10, "<a name=\"newspecial_menu\"></a>"},
                         {12, "<a href=\"post.php?action=newthread&amp;fid=2\">发新话题</a>"}}));
  });

  server_->Get("/post.php", [&s, html](const httplib::Request& request, httplib::Response& response) {
    std::lock_guard lock(s.mutex);
    const QString user = s.user(request);
    if (user.isEmpty()) {
      html(response, Page({}, "<p>请先登录</p>"));
      return;
    }
    if (request.get_param_value("action") == "newthread") {
      html(response, Page({}, "<form method=\"post\" action=\"post.php?action=newthread&amp;topicsubmit=yes\">"
                              "<input name=\"subject\"><textarea name=\"message\"></textarea>"
                              "<input type=\"submit\" name=\"topicsubmit\" value=\"发表\"></form>"));
      return;
    }
    const Thread* t = s.thread(std::atoi(request.get_param_value("tid").c_str()));
    if (!t || t->owner != user) {
      html(response, Page({}, "<p>没有权限</p>"));
      return;
    }
    html(response, Page({}, "<form method=\"post\" action=\"post.php?action=edit&amp;tid=" + std::to_string(t->id) +
                                "&amp;editsubmit=yes\"><textarea name=\"message\">" + Html(t->list) +
                                "</textarea><input type=\"submit\" name=\"editsubmit\" value=\"编辑\"></form>"));
  });

  server_->Post("/post.php", [this, &s](const httplib::Request& request, httplib::Response& response) {
    std::lock_guard lock(s.mutex);
    const QString user = s.user(request);
    if (user.isEmpty()) {
      response.status = 403;
      return;
    }
    const QString message = QString::fromStdString(request.get_param_value("message"));
    int id = 0;
    if (request.get_param_value("action") == "newthread") {
      id = static_cast<int>(s.threads.size()) + 1;
      s.threads.push_back({id, QString::fromStdString(request.get_param_value("subject")), user,
                           dropPosts_ ? QString() : message});
    } else {
      Thread* t = s.thread(std::atoi(request.get_param_value("tid").c_str()));
      if (!t || t->owner != user) {
        response.status = 403;
        return;
      }
      if (!dropPosts_) t->list = message;
      id = t->id;
    }
    response.set_redirect("viewthread.php?tid=" + std::to_string(id));
  });

  listener_ = std::make_unique<LoopbackListener>(*server_);
}

LoopbackForum::~LoopbackForum() {
  {
    std::lock_guard lock(state_->mutex);
    state_->stopping = true;
  }
  state_->wake.notify_all();
  listener_.reset();
}

QString LoopbackForum::root() const { return QStringLiteral("http://127.0.0.1:%1/").arg(listener_->port()); }

void LoopbackForum::addAccount(const QString& name, const QString& password) {
  std::lock_guard lock(state_->mutex);
  state_->passwords[name] = password;
}

int LoopbackForum::addThread(const QString& title, const QString& owner, const QString& list) {
  std::lock_guard lock(state_->mutex);
  const int id = static_cast<int>(state_->threads.size()) + 1;
  state_->threads.push_back({id, title, owner, list});
  return id;
}

std::vector<LoopbackForum::Thread> LoopbackForum::threads() const {
  std::lock_guard lock(state_->mutex);
  return state_->threads;
}

void LoopbackForum::answerSearchWith(const std::string& page) {
  std::lock_guard lock(state_->mutex);
  state_->searchAnswer = page;
}

void LoopbackForum::answerSearchEndlessly() {
  std::lock_guard lock(state_->mutex);
  state_->endlessSearch = true;
}

void LoopbackForum::stall(const std::string& path) {
  std::lock_guard lock(state_->mutex);
  state_->stalled.insert(path);
}

}  // namespace testing_support
