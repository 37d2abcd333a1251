#include "tests/support/unit_tests_on_x.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace testing_support {

CommandResult RunUnitTestsOnXServer(const XvfbServer& server, const QString& filter) {
  CommandResult result;
  QTemporaryDir runtime;  // Qt's runtime folder for the child
  // Qt's X11 platform keeps a D-Bus connection the system library never frees; under the leak
  // checker of the sanitizer build that alone would fail the run.
  const QString suppressions = runtime.filePath(QStringLiteral("lsan.supp"));
  QFile file(suppressions);
  if (!file.open(QIODevice::WriteOnly) || file.write("leak:libdbus-1.so\n") < 0) {
    result.errors = QStringLiteral("cannot write ") + suppressions;
    return result;
  }
  file.close();
  QProcess tests;
  QProcessEnvironment environment = server.environment();
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
  environment.insert(QStringLiteral("LSAN_OPTIONS"), QStringLiteral("suppressions=") + suppressions);
  tests.setProcessEnvironment(environment);
  tests.setProcessChannelMode(QProcess::MergedChannels);
  tests.start(QCoreApplication::applicationDirPath() + QStringLiteral("/lexorn_tests"),
              {QStringLiteral("--gtest_filter=") + filter});
  if (!tests.waitForStarted()) {
    result.errors = tests.errorString();
    return result;
  }
  result.finished = tests.waitForFinished(90'000) && tests.exitStatus() == QProcess::NormalExit;
  result.exitCode = tests.exitCode();
  result.output = QString::fromLocal8Bit(tests.readAll());
  return result;
}

}  // namespace testing_support
