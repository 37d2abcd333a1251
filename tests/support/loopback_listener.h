#pragma once
// Runs a cpp-httplib server on 127.0.0.1 on a thread of its own for as long as this object
// lives. The constructor returns once the accept loop runs, so a stop that follows at once is
// never missed (a stop before the loop starts would leave the loop, and the join, hanging).

#include <memory>
#include <thread>

namespace httplib {
class Server;
}

namespace testing_support {

class LoopbackListener {
 public:
  // Binds the server to a free port of 127.0.0.1 and starts accepting; register routes first.
  explicit LoopbackListener(httplib::Server& server);
  // Stops the server and waits for its thread.
  ~LoopbackListener();
  LoopbackListener(const LoopbackListener&) = delete;
  LoopbackListener& operator=(const LoopbackListener&) = delete;

  int port() const { return port_; }

 private:
  httplib::Server& server_;
  int port_ = 0;
  std::thread thread_;
};

}  // namespace testing_support
