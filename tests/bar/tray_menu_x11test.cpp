// The real program under Xvfb with trayer: the tray menu walked with the keyboard sets the word
// interval, which lands in the library's settings file and paces the bar; Exit ends the program
// and leaves the library file as it was.
#include "platform/ini/ini.h"
#include "tests/support/library_files.h"
#include "tests/support/program_run.h"
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <iostream>
#include <vector>

namespace {

using namespace testing_support;

QByteArray FileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class TrayMenuX11 : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.running()) << server.error().toStdString();
    FixtureLibrary library;
    library.lines = QStringList{QStringLiteral("{AC}")} + SampleWordLines(40);
    library.normalSettings = {{"WordSpeed", "1"},          {"WordShowMain", "X"},    {"WordShowStatus", "X"},
                              {"WordShowCounter", "X"},    {"WordShowProgress", "X"}, {"WordSpeak", "0"}};
    program.writeLibrary(library);
    libraryBytes = FileBytes(program.libraryPath());
    ASSERT_TRUE(program.start());
    bar = program.waitForWindow();
    ASSERT_FALSE(bar.isEmpty()) << program.log().toStdString();
    icon = program.waitForTrayIcon();
    ASSERT_FALSE(icon.isEmpty()) << program.log().toStdString();
  }

  bool xdotool(const QStringList& arguments) { return Xdotool(server.display(), arguments).ok(); }

  // Right-clicks the tray icon and waits for the menu.
  void openMenu() {
    const qsizetype before = program.desktopWindows().size();
    ASSERT_TRUE(xdotool({"mousemove", "--window", icon, "8", "8", "click", "3"}));
    ASSERT_TRUE(WaitUntil([&] { return program.desktopWindows().size() > before; }, 5s)) << "no menu";
  }

  void keys(const QString& key, int times) {
    for (int i = 0; i < times; ++i) ASSERT_TRUE(xdotool({"key", key}));
  }

  QString storedSpeed() const {
    return platform::ReadProfileString(program.settingsPath(), "Normal", "WordSpeed", "Error");
  }

  QByteArray barShot(const QString& path) {
    if (!server.run(QStringLiteral("import"), {QStringLiteral("-window"), bar, path}).ok()) return {};
    return QCryptographicHash::hash(FileBytes(path), QCryptographicHash::Sha1);
  }

  XvfbServer server;
  ProgramRun program{server};
  QByteArray libraryBytes;
  QString bar;
  QString icon;
};

TEST_F(TrayMenuX11, TheIntervalChosenFromTheMenuIsStoredAndPacesTheBarAndExitEndsTheProgram) {
  openMenu();
  // Language, colours, font, interval: the fourth item; its submenu opens on its first item.
  keys("Down", 4);
  keys("Right", 1);
  keys("Down", 2);  // "3 seconds"
  QElapsedTimer clicked;
  clicked.start();
  ASSERT_TRUE(xdotool({"key", "Return"}));
  ASSERT_TRUE(WaitUntil([&] { return storedSpeed() == "3"; }, 5s, 1ms)) << storedSpeed().toStdString();
  std::cout << "[ figure ] Interval item chosen to settings file written (xdotool's own start included): "
            << clicked.elapsed() << " ms\n";

  // The bar now steps every three seconds: the changes seen over ten seconds lie 3 s apart.
  QTemporaryDir shots;
  QByteArray last = barShot(shots.filePath("start.png"));
  QElapsedTimer watch;
  watch.start();
  std::vector<qint64> changes;
  for (int i = 0; watch.elapsed() < 10000; ++i) {
    const QByteArray shot = barShot(shots.filePath(QStringLiteral("bar%1.png").arg(i)));
    if (!shot.isEmpty() && shot != last) changes.push_back(watch.elapsed());
    if (!shot.isEmpty()) last = shot;
    QThread::msleep(50);
  }
  ASSERT_GE(changes.size(), 3u) << program.log().toStdString();
  for (std::size_t i = 1; i < changes.size(); ++i) {
    EXPECT_NEAR(changes[i] - changes[i - 1], 3000, 450) << "step " << i;
  }

  // Exit is the last item: language .. show, statistics, about, exit.
  openMenu();
  keys("Down", 13);
  QElapsedTimer exiting;
  exiting.start();
  ASSERT_TRUE(xdotool({"key", "Return"}));
  EXPECT_TRUE(program.process()->waitForExit(1s)) << "still running";
  std::cout << "[ figure ] Exit chosen to program ended: " << exiting.elapsed() << " ms\n";
  EXPECT_EQ(FileBytes(program.libraryPath()), libraryBytes);
}

}  // namespace
