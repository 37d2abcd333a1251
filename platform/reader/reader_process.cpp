#include "platform/reader/reader_process.h"

#include "platform/reader/reader_wire.h"

#include <QCoreApplication>
#include <QDebug>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>

#include <csignal>
#include <memory>

namespace platform::reader {
namespace {

const QString kReaderProgramName = QStringLiteral("lexorn2-reader");
constexpr std::chrono::milliseconds kTick{100};  // how often Cancel and the deadline are looked at
constexpr qsizetype kLastWordsBytes = 2048;      // the end of the reader's error output kept
constexpr int kKilledWaitMilliseconds = 5000;

// One run of the reader: the process, what it said, and why the program ended it.
class Run {
 public:
  explicit Run(const ReaderRun& run) : run_(run) {
    process_.setProcessChannelMode(QProcess::SeparateChannels);
    QObject::connect(&process_, &QProcess::readyReadStandardOutput, [this] { takeOutput(); });
    QObject::connect(&process_, &QProcess::readyReadStandardError, [this] { takeErrors(); });
  }

  ReaderOutcome wait() {
    const QString program = ReaderProgramPath();
    if (!QFileInfo(program).isExecutable()) return {ReaderEnd::CannotStart, {}, program + QStringLiteral(" is missing")};
    clock_.start();
    process_.start(program, ReaderArguments(run_));
    if (!process_.waitForStarted()) return {ReaderEnd::CannotStart, {}, process_.errorString()};
    process_.write(run_.input);
    process_.closeWriteChannel();
    if (QCoreApplication::instance() != nullptr) {
      waitInEventLoop();
    } else {
      waitWithoutEventLoop();
    }
    takeOutput();
    takeErrors();
    return outcome();
  }

 private:
  // The program's windows keep painting: the wait is a nested event loop that sleeps on events.
  void waitInEventLoop() {
    QEventLoop loop;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [this] { look(); });
    QObject::connect(&process_, &QProcess::finished, &loop, &QEventLoop::quit);
    tick.start(kTick);
    if (process_.state() != QProcess::NotRunning) loop.exec();
  }

  // Without an application there is nothing to paint: the wait blocks a tick at a time.
  void waitWithoutEventLoop() {
    while (!process_.waitForFinished(static_cast<int>(kTick.count()))) {
      if (process_.state() == QProcess::NotRunning) break;
      takeOutput();
      takeErrors();
      look();
    }
  }

  // Ends the reader on Cancel and when the deadline has passed.
  void look() {
    if (killedAs_) return;
    if (run_.cancelled && run_.cancelled()) {
      kill(ReaderEnd::Cancelled);
    } else if (clock_.elapsed() > run_.limits.deadline.count()) {
      kill(ReaderEnd::Deadline);
    }
  }

  void kill(ReaderEnd why) {
    killedAs_ = why;
    process_.kill();
    process_.waitForFinished(kKilledWaitMilliseconds);
  }

  void takeOutput() {
    const QByteArray bytes = process_.readAllStandardOutput();
    if (bytes.isEmpty()) return;
    frames_.take(bytes, [this](std::int64_t done, std::int64_t total) {
      if (run_.onProgress) run_.onProgress(done, total);
    });
  }

  void takeErrors() {
    lastWords_ += process_.readAllStandardError();
    if (lastWords_.size() > kLastWordsBytes) lastWords_ = lastWords_.right(kLastWordsBytes);
  }

  // How it ended; what it said goes to the log.
  QString detail(const QString& what) const {
    if (!lastWords_.isEmpty()) {
      qWarning("lexorn2-reader %s: %s", qPrintable(what), qPrintable(QString::fromLocal8Bit(lastWords_).trimmed()));
    }
    return what;
  }

  ReaderOutcome outcome() const {
    if (killedAs_) return {*killedAs_, {}, detail(QStringLiteral("killed"))};
    if (process_.exitStatus() == QProcess::CrashExit) {
      // Qt reports the signal that ended the process as its exit code.
      const int signal = process_.exitCode();
      const QString what = QStringLiteral("ended by signal %1").arg(signal);
      // SIGXCPU at the soft CPU limit, SIGKILL at the hard one (nothing else here kills it).
      if (signal == SIGXCPU || signal == SIGKILL) return {ReaderEnd::OutOfTime, {}, detail(what)};
      return {ReaderEnd::Crashed, {}, detail(what)};
    }
    const int code = process_.exitCode();
    if (code == kExitOutOfMemory) return {ReaderEnd::OutOfMemory, {}, detail(QStringLiteral("out of memory"))};
    if (code != 0) return {ReaderEnd::NoAnswer, {}, detail(QStringLiteral("exit status %1").arg(code))};
    if (frames_.broken() || !frames_.answer() || frames_.pendingBytes() != 0) {
      return {ReaderEnd::NoAnswer, {}, detail(QStringLiteral("no complete answer"))};
    }
    return {ReaderEnd::Answered, *frames_.answer(), detail(QString())};
  }

  const ReaderRun& run_;
  QProcess process_;
  QElapsedTimer clock_;
  ReaderFrameReader frames_;
  QByteArray lastWords_;
  std::optional<ReaderEnd> killedAs_;
};

}  // namespace

ReaderOutcome RunReader(const ReaderRun& run) { return Run(run).wait(); }

QString ReaderProgramPath() {
  const QString folder = QCoreApplication::instance() != nullptr
                             ? QCoreApplication::applicationDirPath()
                             : QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget().section(QLatin1Char('/'), 0, -2);
  return folder + QLatin1Char('/') + kReaderProgramName;
}

}  // namespace platform::reader
