#include "tests/support/temp_folders.h"

#include <QFile>
#include <QFileInfo>

#include <cstdlib>

namespace testing_support {

TempFolders::TempFolders() {
  QDir().mkpath(programFolder());
  QDir().mkpath(profileFolder());
  QDir().mkpath(libraryFolder());
  hadProfile_ = qEnvironmentVariableIsSet("USERPROFILE");
  oldProfile_ = qgetenv("USERPROFILE");
  qputenv("USERPROFILE", profileFolder().toLocal8Bit());
}

TempFolders::~TempFolders() {
  if (hadProfile_) {
    qputenv("USERPROFILE", oldProfile_);
  } else {
    qunsetenv("USERPROFILE");
  }
}

QString TempFolders::writeFile(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(bytes);
  return path;
}

QByteArray TempFolders::readFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

}  // namespace testing_support
