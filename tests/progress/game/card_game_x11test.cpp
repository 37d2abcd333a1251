// The card game on a real X server: the window tests of the game run again under a private Xvfb
// with Qt's X11 platform, where the cards are clicked with the mouse through the server.
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>

namespace {

using namespace testing_support;

TEST(CardGameX11, IsPlayedWithTheMouseOnAnXServer) {
  XvfbServer server;
  ASSERT_TRUE(server.running()) << server.error().toStdString();
  QTemporaryDir runtime;  // Qt's runtime folder for the child
  QProcess tests;
  QProcessEnvironment environment = server.environment();
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
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
