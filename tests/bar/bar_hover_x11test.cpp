// The real program under Xvfb with trayer, with openbox and without: the word cycle pauses while
// the pointer rests on the bar, and leaving the bar always restarts it, also when the bar heard
// nothing of it: a window over the bar closed, or the pointer was on a window over the bar and
// never on the bar.
// Read from screenshots: a running bar shows a new word every second, a paused one stays still.
#include "bar/SubMain.h"
#include "platform/ini/ini.h"
#include "tests/support/bar_motion.h"
#include "tests/support/library_files.h"
#include "tests/support/program_run.h"
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <QThread>

namespace {

using namespace testing_support;

// The bar's place: its left part stays clear of the meaning-symbol dialog, which opens in the
// middle of the 1280 x 800 screen (416 x 169 pixels) and covers the rest of it.
constexpr int kBarX = 20;
constexpr int kBarY = 370;
const QPoint kOnTheBar(kBarX + 60, kBarY + 10);    // on the word row, left of the dialog
const QPoint kOverTheBar(kBarX + 480, kBarY + 10); // on the dialog where it covers the bar
const QPoint kAway(100, 700);                       // on the desktop, far from both

class BarHoverX11 : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.running()) << server.error().toStdString();
    FixtureLibrary library;
    library.lines = QStringList{"{AC}"} + SampleWordLines(60);
    library.normalSettings = {{"WordSpeed", "1"},      {"WordShowMain", "X"},   {"WordSpeak", "0"},
                              {"WindowW", "600"},      {"WordShowStatus", "X"}, {"WordFont", "Arial;0:14"},
                              {"WordUILanguage", "A"}};
    program.writeLibrary(library);
    const QString section = SubMain::ComputerSectionName();
    platform::WriteProfileString(program.settingsPath(), section, "WindowX", QString::number(kBarX));
    platform::WriteProfileString(program.settingsPath(), section, "WindowY", QString::number(kBarY));
    jumpTo(kAway);
    ASSERT_TRUE(program.start());
    bar = program.waitForWindow();
    icon = program.waitForTrayIcon();
    ASSERT_FALSE(bar.isEmpty() || icon.isEmpty()) << program.log().toStdString();
  }

  bool xdotool(const QStringList& arguments) { return Xdotool(server.display(), arguments).ok(); }
  void jumpTo(QPoint point) { xdotool({"mousemove", QString::number(point.x()), QString::number(point.y())}); }

  // The left part of the bar as the screen shows it.
  QByteArray barLook() {
    const QString path = shots.filePath(QStringLiteral("screen.png"));
    if (!Screenshot(server.display(), path).ok()) return {};
    return ImageFingerprint(QImage(path).copy(kBarX, kBarY, 380, 22));
  }
  bool running() { return BarRuns([this] { return barLook(); }); }
  bool paused() { return BarStaysStill([this] { return barLook(); }); }

  // Opens the meaning-symbol dialog from the tray menu with the keyboard, the pointer put at
  // `pointer` while the menu is open; returns when the dialog shows.
  bool openDialog(QPoint pointer) {
    const int before = program.desktopWindows().size();
    if (!xdotool({"mousemove", "--window", icon, "8", "8", "click", "3"})) return false;
    if (!WaitUntil([&] { return program.desktopWindows().size() > before; }, 5s)) return false;
    jumpTo(pointer);
    for (const char* key : {"Down", "Down", "Down", "Down", "Down", "Down", "Down", "Down", "Down", "Down", "Right",
                            "Up", "Up", "Up", "Return"}) {
      if (!xdotool({"key", key})) return false;
    }
    // The dialog is the window of the dialog's size, the menu gone.
    return WaitUntil(
        [&] {
          const QStringList windows = program.desktopWindows();
          return windows.size() == before + 1 &&
                 server.run("xdotool", {"getwindowgeometry", windows.last()}).output.contains("416x169");
        },
        5s);
  }
  bool closeDialog() {
    const int before = program.desktopWindows().size();
    return xdotool({"key", "Escape"}) && WaitUntil([&] { return program.desktopWindows().size() < before; }, 5s);
  }

  XvfbServer server{XvfbOptions{.windowManager = GetParam()}};
  ProgramRun program{server};
  QTemporaryDir shots;
  QString bar;
  QString icon;
};

TEST_P(BarHoverX11, RestingPausesAndLeavingRestartsTheCycle) {
  ASSERT_TRUE(running()) << "the bar does not step";
  jumpTo(kOnTheBar);
  EXPECT_TRUE(paused()) << "resting on the bar does not pause it";
  jumpTo(kAway);
  EXPECT_TRUE(running()) << "leaving the bar does not restart it";
}

TEST_P(BarHoverX11, AWindowClosingOverTheBarLeavesItRunningOnceThePointerGoes) {
  ASSERT_TRUE(openDialog(kAway)) << "no dialog";
  jumpTo(kOverTheBar);
  ASSERT_TRUE(closeDialog());
  // The pointer is on the bar now that the dialog is gone, and then leaves it.
  QThread::msleep(500);
  jumpTo(kAway);
  EXPECT_TRUE(running()) << "the bar stays paused";
}

TEST_P(BarHoverX11, APointerThatWasNeverOnTheBarLeavesItRunning) {
  ASSERT_TRUE(openDialog(kAway)) << "no dialog";
  jumpTo(kOverTheBar);  // on the dialog, over the bar
  QThread::msleep(300);
  jumpTo(kAway);
  ASSERT_TRUE(closeDialog());
  EXPECT_TRUE(running()) << "the bar is paused by a pointer that was never on it";
}

INSTANTIATE_TEST_SUITE_P(Desks, BarHoverX11, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "Openbox" : "NoWindowManager");
                         });

}  // namespace
