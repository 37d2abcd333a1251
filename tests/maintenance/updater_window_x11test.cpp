// An updater as a learner starts it on a desktop: the real Tolbrand2 under Xvfb shows its window,
// drawn, near the screen's top-left corner while it fetches from a loopback server, and ends by
// itself once the item is stored.
#include "tests/support/loopback_http_server.h"
#include "tests/support/temp_folders.h"
#include "tests/support/window_geometry.h"
#include "tests/support/x_window_image.h"
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

#include <QFile>

namespace {

using namespace testing_support;

TEST(UpdaterWindowX11, Tolbrand2ShowsItsWindowOnTheDesktopWhileItFetchesAndThenEnds) {
  XvfbServer server(XvfbOptions{.trayHost = false});
  ASSERT_TRUE(server.running()) << server.error().toStdString();
  TempFolders folders;
  LoopbackHttpServer web;
  const QString program = folders.programFolder() + "Tolbrand2";
  ASSERT_TRUE(QFile::copy(LEXORN_APP_DIR "/Tolbrand2", program));
  TempFolders::writeFile(folders.programFolder() + "ServerLocation.ini",
                         "[DOWNLOADFROM]\nNewPath=" + web.url("/").toUtf8() + "\nNewFileName=list.ini\n");
  web.serve("/list.ini", "[SERVER_LEATEST_2]\nFROM_FILENAME01=words.dat\nTO_FILENAME01=Words.dat\n"
                         "FILENAME01_BUILD_TIME=20991231_23:59:59\n");
  web.serve("/words.dat", "words");

  QProcessEnvironment environment = server.environment();  // USERPROFILE names the fixture's profile
  environment.insert("QT_QPA_PLATFORM", "xcb");
  BackgroundProcess updater(program, {}, environment, folders.libraryFolder() + "updater.log");
  ASSERT_TRUE(updater.started()) << updater.error().toStdString();

  const XWindowImage screen(server.display());
  QString window;
  ASSERT_TRUE(WaitUntil(
      [&] {
        window = Xdotool(server.display(), {"search", "--onlyvisible", "--pid", QString::number(updater.processId())})
                     .output.section('\n', 0, 0)
                     .trimmed();
        return !window.isEmpty() && DistinctColours(screen.grab(window)) > 2;
      },
      10s))
      << "no window drawn";
  const std::optional<QRect> shown = WindowGeometry(server.display(), window);
  ASSERT_TRUE(shown.has_value());
  EXPECT_TRUE(QRect(0, 0, 640, 400).contains(shown->topLeft())) << shown->x() << "," << shown->y();

  ASSERT_TRUE(updater.waitForExit(30s)) << "still running";
  EXPECT_EQ(updater.exitCode(), 0) << TempFolders::readFile(folders.libraryFolder() + "updater.log").toStdString();
  EXPECT_EQ(TempFolders::readFile(folders.programFolder() + "Words.dat"), "words");
}

}  // namespace
