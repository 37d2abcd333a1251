#include "tests/support/bindfs_mount.h"

#include <QProcess>

namespace testing_support {

BindfsMount::BindfsMount(const QString& source) {
  QProcess bindfs;
  bindfs.start(QStringLiteral("bindfs"), {source, mountPoint_.path()});
  if (!bindfs.waitForFinished(10'000) || bindfs.exitStatus() != QProcess::NormalExit || bindfs.exitCode() != 0) {
    error_ = QStringLiteral("bindfs could not mount %1: %2%3")
                 .arg(source, bindfs.errorString(), QString::fromLocal8Bit(bindfs.readAllStandardError()));
  }
}

BindfsMount::~BindfsMount() {
  // Lazily: a program still holding a file there must not leave the mount behind.
  if (error_.isEmpty())
    QProcess::execute(QStringLiteral("fusermount"), {QStringLiteral("-u"), QStringLiteral("-z"), mountPoint_.path()});
}

}  // namespace testing_support
