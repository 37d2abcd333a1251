#include "tests/support/x11_tools.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

// Xlib after Qt: its macros clash with Qt's names.
#include <X11/Xlib.h>

#include <sys/prctl.h>

#include <algorithm>
#include <csignal>
#include <memory>

namespace testing_support {

QString CommandResult::describe() const {
  const QString state = finished ? QStringLiteral("exit code %1").arg(exitCode) : QStringLiteral("did not finish");
  return errors.trimmed().isEmpty() ? state : state + QStringLiteral(": ") + errors.trimmed();
}

QProcessEnvironment DisplayEnvironment(const QString& display) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("DISPLAY"), display);
  return environment;
}

CommandResult RunOnDisplay(const QString& display, const QString& program, const QStringList& arguments,
                           std::chrono::milliseconds timeout) {
  QProcess process;
  process.setProcessEnvironment(DisplayEnvironment(display));
  process.start(program, arguments);
  CommandResult result;
  if (!process.waitForStarted(static_cast<int>(timeout.count()))) {
    result.errors = program + QStringLiteral(" did not start: ") + process.errorString();
    return result;
  }
  if (!process.waitForFinished(static_cast<int>(timeout.count()))) {
    process.kill();
    process.waitForFinished();
  } else {
    result.finished = process.exitStatus() == QProcess::NormalExit;
    result.exitCode = process.exitCode();
  }
  result.output = QString::fromLocal8Bit(process.readAllStandardOutput());
  result.errors = QString::fromLocal8Bit(process.readAllStandardError());
  return result;
}

CommandResult Xdotool(const QString& display, const QStringList& arguments, std::chrono::milliseconds timeout) {
  return RunOnDisplay(display, QStringLiteral("xdotool"), arguments, timeout);
}

bool IsOnDesktop(const QString& display, const QString& window) {
  struct Closer {
    void operator()(Display* connection) const { XCloseDisplay(connection); }
  };
  const std::unique_ptr<Display, Closer> connection(XOpenDisplay(display.toLocal8Bit().constData()));
  bool numeric = false;
  const Window id = window.toULong(&numeric);
  if (!connection || !numeric) return false;
  // The window may be gone by now (a menu that closed after the search listed it): Xlib's default
  // handler would end the whole test binary on that error, so errors only answer "no" here.
  const auto ignoreErrors = [](Display*, XErrorEvent*) { return 0; };
  const XErrorHandler previous = XSetErrorHandler(ignoreErrors);
  struct RestoreHandler {
    Display* connection;
    XErrorHandler previous;
    ~RestoreHandler() {
      XSync(connection, False);
      XSetErrorHandler(previous);
    }
  } restore{connection.get(), previous};
  Window root = 0;
  Window parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  if (XQueryTree(connection.get(), id, &root, &parent, &children, &count) == 0) return false;
  if (children != nullptr) XFree(children);
  if (parent == root) return true;
  // Under a window manager a top-level window lies in the manager's frame, and the manager marks
  // it with WM_STATE; a window docked into a tray host is not managed and has none.
  const Atom wmState = XInternAtom(connection.get(), "WM_STATE", True);
  if (wmState == None) return false;
  Atom type = None;
  int format = 0;
  unsigned long items = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  const bool read = XGetWindowProperty(connection.get(), id, wmState, 0, 2, False, AnyPropertyType, &type, &format,
                                       &items, &after, &data) == Success;
  if (data != nullptr) XFree(data);
  return read && type != None;
}

CommandResult Screenshot(const QString& display, const QString& path) {
  return RunOnDisplay(display, QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), path});
}

bool WaitUntil(const std::function<bool()>& predicate, std::chrono::milliseconds timeout,
               std::chrono::milliseconds poll) {
  const QDeadlineTimer deadline(timeout);
  while (!predicate()) {
    if (deadline.hasExpired()) return false;
    // Sleep in the event loop, so socket notifiers and timers of the code under test still fire.
    QEventLoop loop;
    QTimer::singleShot(std::min(poll, std::chrono::milliseconds(deadline.remainingTime())), &loop,
                       &QEventLoop::quit);
    loop.exec();
  }
  return true;
}

BackgroundProcess::BackgroundProcess(const QString& program, const QStringList& arguments,
                                     const QProcessEnvironment& environment, const QString& logPath,
                                     std::function<void()> setup) {
  process_.setProcessEnvironment(environment);
  process_.setStandardInputFile(QProcess::nullDevice());
  if (logPath.isEmpty()) {
    process_.setStandardOutputFile(QProcess::nullDevice());
    process_.setStandardErrorFile(QProcess::nullDevice());
  } else {
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.setStandardOutputFile(logPath, QIODevice::Append);
  }
  // The child ends with the test process, even when that dies without running destructors.
  process_.setChildProcessModifier([setup = std::move(setup)] {
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (setup) setup();
  });
  process_.start(program, arguments);
  started_ = process_.waitForStarted();
}

BackgroundProcess::~BackgroundProcess() { stop(); }

bool BackgroundProcess::waitForExit(std::chrono::milliseconds timeout) {
  if (!running()) return true;
  return process_.waitForFinished(static_cast<int>(timeout.count()));
}

void BackgroundProcess::stop() {
  if (!running()) return;
  process_.terminate();
  if (!process_.waitForFinished(3000)) {
    process_.kill();
    process_.waitForFinished();
  }
}

std::unique_ptr<BackgroundProcess> StartOnDisplay(const QString& display, const QString& program,
                                                  const QStringList& arguments, const QString& logPath) {
  return std::make_unique<BackgroundProcess>(program, arguments, DisplayEnvironment(display), logPath);
}

}  // namespace testing_support
