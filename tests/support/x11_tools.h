#pragma once
// Tools for tests that run against a real X server: run commands on a display (xdotool, import),
// keep background programs that are stopped and reaped on destruction, and wait for a condition
// with a deadline while Qt's events keep flowing.

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <memory>

namespace testing_support {

using namespace std::chrono_literals;

// The outcome of a command run to its end.
struct CommandResult {
  bool finished = false;  // started, and exited by itself before the timeout
  int exitCode = -1;
  QString output;  // standard output
  QString errors;  // standard error, or why the command did not run
  bool ok() const { return finished && exitCode == 0; }
  // One line for a test's failure message: the exit state and the error text.
  QString describe() const;
};

// This process's environment with DISPLAY set to display (":N").
QProcessEnvironment DisplayEnvironment(const QString& display);

// Runs program on display and waits for it to end; it is killed when timeout passes first.
CommandResult RunOnDisplay(const QString& display, const QString& program, const QStringList& arguments,
                           std::chrono::milliseconds timeout = 10s);

// xdotool on display, e.g. {"key", "Escape"}.
CommandResult Xdotool(const QString& display, const QStringList& arguments, std::chrono::milliseconds timeout = 10s);

// Whether the window is on the desktop, not docked into a tray host: a child of the root window,
// or a window a window manager manages in its frame.
bool IsOnDesktop(const QString& display, const QString& window);

// Saves the whole screen of display to path (the format follows the suffix, e.g. ".png").
CommandResult Screenshot(const QString& display, const QString& path);

// Calls predicate every poll interval, running Qt's event loop in between, until it holds or
// timeout passes; returns whether it held.
bool WaitUntil(const std::function<bool()>& predicate, std::chrono::milliseconds timeout,
               std::chrono::milliseconds poll = 50ms);

// A program running in the background. Its standard output and error go to logPath, or nowhere
// when that is empty (a pipe nobody reads would stall a chatty program). The destructor asks it
// to end (SIGTERM), kills it when it has not ended within three seconds, and reaps it; should the
// test process die first, the program gets SIGTERM from the kernel.
class BackgroundProcess {
 public:
  // Starts program; check started() and error(). setup, when given, runs in the child between
  // fork and exec (e.g. to let a descriptor be inherited).
  BackgroundProcess(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment,
                    const QString& logPath = {}, std::function<void()> setup = {});
  ~BackgroundProcess();
  BackgroundProcess(const BackgroundProcess&) = delete;
  BackgroundProcess& operator=(const BackgroundProcess&) = delete;

  bool started() const { return started_; }
  bool running() const { return process_.state() != QProcess::NotRunning; }
  QString error() const { return process_.errorString(); }
  qint64 processId() const { return process_.processId(); }
  // Waits for the program to end by itself; false when it still runs after timeout.
  bool waitForExit(std::chrono::milliseconds timeout);
  int exitCode() const { return process_.exitCode(); }

  // Ends the program now, as the destructor would.
  void stop();

 private:
  QProcess process_;
  bool started_ = false;
};

// Starts program on display in the background (the program under test, a helper).
std::unique_ptr<BackgroundProcess> StartOnDisplay(const QString& display, const QString& program,
                                                  const QStringList& arguments, const QString& logPath = {});

}  // namespace testing_support
