#include "tests/support/xvfb_server.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QFile>

// Xlib after Qt: its macros clash with Qt's names.
#include <X11/Xlib.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <array>

namespace testing_support {

namespace {

constexpr auto kReadyTimeout = 15s;

// A pipe whose ends close themselves; both are close-on-exec, so only a child that asks for an
// end keeps it.
class Pipe {
 public:
  Pipe() {
    if (pipe2(fds_.data(), O_CLOEXEC) != 0) fds_ = {-1, -1};
  }
  ~Pipe() {
    closeWriteEnd();
    if (fds_[0] >= 0) close(fds_[0]);
  }
  Pipe(const Pipe&) = delete;
  Pipe& operator=(const Pipe&) = delete;

  bool valid() const { return fds_[0] >= 0; }
  int readEnd() const { return fds_[0]; }
  int writeEnd() const { return fds_[1]; }
  void closeWriteEnd() {
    if (fds_[1] >= 0) close(fds_[1]);
    fds_[1] = -1;
  }

 private:
  std::array<int, 2> fds_{-1, -1};
};

// Reads one line from fd, waiting at most until deadline; empty when none came (the writer
// closed its end or time ran out).
QByteArray ReadLine(int fd, const QDeadlineTimer& deadline) {
  QByteArray line;
  while (!line.endsWith('\n')) {
    pollfd request{fd, POLLIN, 0};
    const int ready = poll(&request, 1, static_cast<int>(std::max<qint64>(0, deadline.remainingTime())));
    if (ready <= 0) return {};
    char c = 0;
    if (read(fd, &c, 1) != 1) return {};
    line.append(c);
  }
  return line.trimmed();
}

struct DisplayCloser {
  void operator()(Display* display) const { XCloseDisplay(display); }
};

// Whether some client owns the named selection on the display (how a compositor and a tray host
// announce that they run).
bool SelectionOwned(const QString& display, const char* selection) {
  const std::unique_ptr<Display, DisplayCloser> connection(XOpenDisplay(display.toLocal8Bit().constData()));
  if (!connection) return false;
  const Atom atom = XInternAtom(connection.get(), selection, False);
  return XGetSelectionOwner(connection.get(), atom) != None;
}

}  // namespace

XvfbServer::XvfbServer(const XvfbOptions& options) {
  if (!logFolder_.isValid()) {
    error_ = QStringLiteral("cannot make a folder for the X server's log");
    return;
  }
  if (!startServer(options.screen)) return;
  if (options.compositor &&
      !startHelper(compositor_, QStringLiteral("xcompmgr"), {}, "_NET_WM_CM_S0")) {
    return;
  }
  if (options.trayHost &&
      !startHelper(trayHost_, QStringLiteral("trayer"),
                   {QStringLiteral("--edge"), QStringLiteral("bottom"), QStringLiteral("--align"),
                    QStringLiteral("right"), QStringLiteral("--widthtype"), QStringLiteral("request"),
                    QStringLiteral("--height"), QStringLiteral("24")},
                   "_NET_SYSTEM_TRAY_S0")) {
    return;
  }
  // A window manager owns the WM_S0 selection once it manages the screen.
  if (options.windowManager &&
      !startHelper(windowManager_, QStringLiteral("openbox"), {QStringLiteral("--sm-disable")}, "WM_S0")) {
    return;
  }
}

XvfbServer::~XvfbServer() {
  // Clients first, so none of them sees its server vanish.
  windowManager_.reset();
  trayHost_.reset();
  compositor_.reset();
  server_.reset();
}

bool XvfbServer::startServer(const QString& screen) {
  // -displayfd: Xvfb picks a free display and writes its number once it accepts connections.
  Pipe ready;
  if (!ready.valid()) {
    error_ = QStringLiteral("cannot make a pipe for Xvfb");
    return false;
  }
  const int writeEnd = ready.writeEnd();
  server_ = std::make_unique<BackgroundProcess>(
      QStringLiteral("Xvfb"),
      QStringList{QStringLiteral("-displayfd"), QString::number(writeEnd), QStringLiteral("-screen"),
                  QStringLiteral("0"), screen, QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                  // Without -noreset the server resets whenever its last client leaves.
                  QStringLiteral("-noreset")},
      QProcessEnvironment::systemEnvironment(), logFolder_.filePath(QStringLiteral("Xvfb.log")),
      [writeEnd] { fcntl(writeEnd, F_SETFD, 0); });
  ready.closeWriteEnd();
  if (!server_->started()) {
    error_ = QStringLiteral("Xvfb did not start: ") + server_->error();
    return false;
  }
  const QByteArray number = ReadLine(ready.readEnd(), QDeadlineTimer(kReadyTimeout));
  bool numeric = false;
  number.toInt(&numeric);
  if (!numeric) {
    error_ = QStringLiteral("Xvfb did not become ready: ") + log();
    return false;
  }
  display_ = QStringLiteral(":") + QString::fromLatin1(number);
  return true;
}

bool XvfbServer::startHelper(std::unique_ptr<BackgroundProcess>& helper, const QString& program,
                             const QStringList& arguments, const char* readySelection) {
  helper = start(program, arguments, logFolder_.filePath(program + QStringLiteral(".log")));
  if (!helper->started()) {
    error_ = program + QStringLiteral(" did not start: ") + helper->error();
    return false;
  }
  if (!WaitUntil([&] { return SelectionOwned(display_, readySelection) || !helper->running(); }, kReadyTimeout) ||
      !helper->running()) {
    error_ = program + QStringLiteral(" did not become ready: ") + log();
    return false;
  }
  return true;
}

CommandResult XvfbServer::run(const QString& program, const QStringList& arguments,
                              std::chrono::milliseconds timeout) const {
  return RunOnDisplay(display_, program, arguments, timeout);
}

std::unique_ptr<BackgroundProcess> XvfbServer::start(const QString& program, const QStringList& arguments,
                                                     const QString& logPath) const {
  return StartOnDisplay(display_, program, arguments, logPath);
}

QString XvfbServer::log() const {
  QString text;
  for (const QString& name : {QStringLiteral("Xvfb"), QStringLiteral("xcompmgr"), QStringLiteral("trayer"),
                              QStringLiteral("openbox")}) {
    QFile file(logFolder_.filePath(name + QStringLiteral(".log")));
    if (file.open(QIODevice::ReadOnly)) text += QString::fromLocal8Bit(file.readAll());
  }
  // The tail holds the reason; the head is mostly keymap compiler chatter.
  constexpr qsizetype kKept = 4000;
  return text.size() > kKept ? text.right(kKept) : text;
}

}  // namespace testing_support
