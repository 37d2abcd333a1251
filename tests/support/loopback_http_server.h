#pragma once
// A real HTTP server on 127.0.0.1 (cpp-httplib) for download tests: it serves files from memory,
// redirects, answers 404 for anything unknown, and can stall a transfer (send a few bytes, then
// nothing) until it is stopped. Runs on its own thread; the destructor stops it.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "tests/support/loopback_listener.h"

namespace httplib {
class Server;
}

namespace testing_support {

class LoopbackHttpServer {
 public:
  LoopbackHttpServer();
  ~LoopbackHttpServer();
  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

  // GET path answers 200 with the body.
  void serve(const QString& path, const QByteArray& body);
  // GET path answers 302 to the other path.
  void redirect(const QString& path, const QString& to);
  // GET path sends headers announcing a body of `announcedBytes` and a few bytes of it, then
  // stalls.
  void stall(const QString& path, std::size_t announcedBytes = 1000000);

  // http://127.0.0.1:<port> + path ("/" gives the web folder address).
  QString url(const QString& path) const;
  // Requests the server has answered for the path.
  int requests(const QString& path) const;
  // The request targets as they arrived, escapes undecoded, in order.
  QStringList targets() const;

 private:
  struct Route {
    enum Kind { Body, Redirect, Stall } kind = Body;
    std::string content;  // the body, or the redirect's target path
    std::size_t announcedBytes = 0;  // the length a stalled body announces
  };

  std::unique_ptr<httplib::Server> server_;
  std::unique_ptr<LoopbackListener> listener_;  // last: stops the server before it goes
  mutable std::mutex mutex_;
  std::map<std::string, Route> routes_;
  std::map<std::string, int> requests_;
  QStringList targets_;
  std::atomic<bool> stopping_{false};
};

}  // namespace testing_support
