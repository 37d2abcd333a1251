// The card game on a real X server: the window tests of the game run again under a private Xvfb
// with Qt's X11 platform, where the cards are clicked with the mouse through the server.
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

namespace {

using namespace testing_support;

TEST(CardGameX11, IsPlayedWithTheMouseOnAnXServer) {
  XvfbServer server;
  ASSERT_TRUE(server.running()) << server.error().toStdString();
  QTemporaryDir runtime;  // Qt's runtime folder for the child
  // Qt's X11 platform keeps a D-Bus connection the system library never frees; under the leak
  // checker of the sanitizer build that alone would fail the run.
  const QString suppressions = runtime.filePath(QStringLiteral("lsan.supp"));
  QFile file(suppressions);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("leak:libdbus-1.so\n");
  file.close();
  QProcess tests;
  QProcessEnvironment environment = server.environment();
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
  environment.insert(QStringLiteral("LSAN_OPTIONS"), QStringLiteral("suppressions=") + suppressions);
  tests.setProcessEnvironment(environment);
  tests.setProcessChannelMode(QProcess::MergedChannels);
  tests.start(QCoreApplication::applicationDirPath() + QStringLiteral("/lexorn_tests"),
              {QStringLiteral("--gtest_filter=CardGame.*")});
  ASSERT_TRUE(tests.waitForStarted()) << tests.errorString().toStdString();
  ASSERT_TRUE(tests.waitForFinished(90'000));
  const QString output = QString::fromLocal8Bit(tests.readAll());
  EXPECT_EQ(tests.exitCode(), 0) << output.toStdString();
  EXPECT_TRUE(output.contains(QStringLiteral("[       OK ] CardGame.PlayedWithTheMouseOnAnXServer"))) << output.toStdString();
}

}  // namespace
