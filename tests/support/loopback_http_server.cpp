#include "tests/support/loopback_http_server.h"

#include <httplib.h>

#include <chrono>

namespace testing_support {

LoopbackHttpServer::LoopbackHttpServer() : server_(std::make_unique<httplib::Server>()) {
  // The program's downloads take the proxy from the environment; loopback must never use one.
  qputenv("no_proxy", "127.0.0.1,localhost");
  qputenv("NO_PROXY", "127.0.0.1,localhost");
  server_->Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
    Route route;
    {
      std::lock_guard lock(mutex_);
      ++requests_[request.path];
      targets_ << QString::fromStdString(request.target);
      const auto found = routes_.find(request.path);
      if (found == routes_.end()) {
        response.status = 404;
        response.set_content("not found", "text/plain");
        return;
      }
      route = found->second;
    }
    switch (route.kind) {
      case Route::Body:
        response.set_content(route.content, "application/octet-stream");
        break;
      case Route::Redirect:
        response.set_redirect(route.content);
        break;
      case Route::Stall:
        response.set_content_provider(route.announcedBytes, "application/octet-stream",
                                      [this](size_t offset, size_t, httplib::DataSink& sink) {
                                        if (offset == 0) return sink.write("stall", 5);
                                        while (!stopping_) std::this_thread::sleep_for(std::chrono::milliseconds(20));
                                        return false;
                                      });
        break;
    }
  });
  listener_ = std::make_unique<LoopbackListener>(*server_);
}

LoopbackHttpServer::~LoopbackHttpServer() {
  stopping_ = true;  // ends a stalled transfer, so the listener's stop can finish
  listener_.reset();
}

void LoopbackHttpServer::serve(const QString& path, const QByteArray& body) {
  std::lock_guard lock(mutex_);
  routes_[path.toStdString()] = {Route::Body, body.toStdString()};
}

void LoopbackHttpServer::redirect(const QString& path, const QString& to) {
  std::lock_guard lock(mutex_);
  routes_[path.toStdString()] = {Route::Redirect, to.toStdString()};
}

void LoopbackHttpServer::stall(const QString& path, std::size_t announcedBytes) {
  std::lock_guard lock(mutex_);
  routes_[path.toStdString()] = {Route::Stall, {}, announcedBytes};
}

QString LoopbackHttpServer::url(const QString& path) const {
  return QStringLiteral("http://127.0.0.1:%1%2").arg(listener_->port()).arg(path);
}

int LoopbackHttpServer::requests(const QString& path) const {
  std::lock_guard lock(mutex_);
  const auto found = requests_.find(path.toStdString());
  return found == requests_.end() ? 0 : found->second;
}

QStringList LoopbackHttpServer::targets() const {
  std::lock_guard lock(mutex_);
  return targets_;
}

}  // namespace testing_support
