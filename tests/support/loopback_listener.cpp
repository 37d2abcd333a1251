#include "tests/support/loopback_listener.h"

#include <httplib.h>

#include <chrono>

namespace testing_support {

LoopbackListener::LoopbackListener(httplib::Server& server) : server_(server) {
  port_ = server_.bind_to_any_port("127.0.0.1");
  thread_ = std::thread([this] { server_.listen_after_bind(); });
  while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

LoopbackListener::~LoopbackListener() {
  server_.stop();
  if (thread_.joinable()) thread_.join();
}

}  // namespace testing_support
