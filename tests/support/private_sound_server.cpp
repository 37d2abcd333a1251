#include "tests/support/private_sound_server.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cstdlib>

namespace testing_support {
namespace {

const QString kEventSink = QStringLiteral("lexorn_events");
const QString kOtherSink = QStringLiteral("lexorn_other_sounds");

QByteArray FileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

PrivateSoundServer::PrivateSoundServer() {
  if (!folder_.isValid()) {
    error_ = QStringLiteral("no temporary folder");
    return;
  }
  // No configuration file: only the socket and the null sinks, so no real device is ever opened.
  // The intended-roles module sends a stream of a role to the sink meant for that role.
  server_ = std::make_unique<BackgroundProcess>(
      QStringLiteral("pulseaudio"),
      QStringList{QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                  QStringLiteral("--disable-shm=yes"), QStringLiteral("--log-target=stderr"),
                  QStringLiteral("--load=module-native-protocol-unix auth-anonymous=1 socket=") + folder_.filePath("native"),
                  QStringLiteral("--load=module-null-sink sink_name=") + kOtherSink,
                  QStringLiteral("--load=module-null-sink sink_name=") + kEventSink +
                      QStringLiteral(" sink_properties=device.intended_roles=event"),
                  QStringLiteral("--load=module-intended-roles")},
      environment(), folder_.filePath("server.log"));
  const auto answers = [&] { return pactl({QStringLiteral("info")}); };
  if (!server_->started() || !WaitUntil([&] { return answers() || !server_->running(); }, 10s) || !answers()) {
    error_ = QStringLiteral("pulseaudio did not start: ") + server_->error() + QLatin1Char(' ') + log();
    return;
  }
  if (!pactl({QStringLiteral("set-default-sink"), kOtherSink})) {
    error_ = QStringLiteral("pactl could not choose the default sink: ") + log();
    return;
  }
  recorder_ = std::make_unique<BackgroundProcess>(
      QStringLiteral("parec"),
      QStringList{QStringLiteral("--device=") + kEventSink + QStringLiteral(".monitor"), QStringLiteral("--file-format=wav"),
                  QStringLiteral("--format=s16le"), QStringLiteral("--channels=1"), QStringLiteral("--rate=22050"),
                  folder_.filePath("recorded.wav")},
      environment(), folder_.filePath("recorder.log"));
  if (!recorder_->started() ||
      !WaitUntil([&] { return QFile::exists(folder_.filePath("recorded.wav")) || !recorder_->running(); }, 5s) ||
      !recorder_->running()) {
    error_ = QStringLiteral("parec did not record: ") + recorder_->error() + QLatin1Char(' ') + log();
  }
}

PrivateSoundServer::~PrivateSoundServer() {
  recorder_.reset();
  server_.reset();
}

QString PrivateSoundServer::address() const { return QStringLiteral("unix:") + folder_.filePath("native"); }

// The server keeps its runtime files, and the client tools their settings, in the private folder.
QProcessEnvironment PrivateSoundServer::environment() const {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder_.path());
  environment.insert(QStringLiteral("HOME"), folder_.path());
  environment.insert(QStringLiteral("PULSE_SERVER"), address());
  return environment;
}

bool PrivateSoundServer::pactl(const QStringList& arguments) const {
  QProcess control;
  control.setProcessEnvironment(environment());
  control.start(QStringLiteral("pactl"), arguments);
  return control.waitForFinished(5000) && control.exitStatus() == QProcess::NormalExit && control.exitCode() == 0;
}

int PrivateSoundServer::loudestEventSample() const {
  const QByteArray wav = FileBytes(folder_.filePath("recorded.wav"));
  const qsizetype data = wav.indexOf("data");
  int loudest = 0;
  if (data < 0) return loudest;
  for (qsizetype at = data + 8; at + 1 < wav.size(); at += 2)
    loudest = std::max(loudest, std::abs(static_cast<int>(qFromLittleEndian<qint16>(wav.constData() + at))));
  return loudest;
}

QString PrivateSoundServer::log() const {
  return QString::fromLocal8Bit(FileBytes(folder_.filePath("server.log")) + FileBytes(folder_.filePath("recorder.log")));
}

}  // namespace testing_support
