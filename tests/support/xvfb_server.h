#pragma once
// A private X server for a test: Xvfb on the first free display, optionally with a compositor
// (xcompmgr, for translucent windows), a system-tray host (trayer) and a window manager (openbox). Nothing global changes:
// programs reach the server through display() or environment(). The destructor stops the helpers
// and the server and reaps them.

#include "tests/support/x11_tools.h"

#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace testing_support {

struct XvfbOptions {
  QString screen = QStringLiteral("1280x800x24");  // width x height x depth of screen 0
  bool compositor = false;                          // start xcompmgr
  bool trayHost = true;                             // start trayer, so tray icons have a home (the bar
                                                    // tells the learner when it has none)
  bool windowManager = false;                       // start openbox, which stacks and focuses windows
};

class XvfbServer {
 public:
  // Starts the server and the helpers asked for, and waits until each is ready (at most a few
  // seconds each). Check running(); error() tells what failed.
  explicit XvfbServer(const XvfbOptions& options = XvfbOptions());
  ~XvfbServer();
  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;

  bool running() const { return error_.isEmpty(); }
  const QString& error() const { return error_; }

  // The display name, ":N".
  const QString& display() const { return display_; }
  // The Xvfb process, 0 when it did not start.
  qint64 processId() const { return server_ ? server_->processId() : 0; }
  // This process's environment with DISPLAY naming the server.
  QProcessEnvironment environment() const { return DisplayEnvironment(display_); }

  // Runs a program on the server and waits for it (see RunOnDisplay).
  CommandResult run(const QString& program, const QStringList& arguments,
                    std::chrono::milliseconds timeout = 10s) const;
  // Starts a program on the server in the background (see StartOnDisplay).
  std::unique_ptr<BackgroundProcess> start(const QString& program, const QStringList& arguments,
                                           const QString& logPath = {}) const;

  // Xvfb's own messages and those of the helpers, for failure reports.
  QString log() const;

 private:
  bool startServer(const QString& screen);
  bool startHelper(std::unique_ptr<BackgroundProcess>& helper, const QString& program, const QStringList& arguments,
                   const char* readySelection);

  QTemporaryDir logFolder_;
  std::unique_ptr<BackgroundProcess> server_;
  std::unique_ptr<BackgroundProcess> compositor_;
  std::unique_ptr<BackgroundProcess> trayHost_;
  std::unique_ptr<BackgroundProcess> windowManager_;
  QString display_;
  QString error_;
};

}  // namespace testing_support
