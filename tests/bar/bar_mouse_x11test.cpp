// The real program under Xvfb with trayer as the tray host: the bar's icon docks and a right click
// on it opens the tray menu; dragging the bar moves it and stores its place; without a tray host
// the learner is told so and the bar's own right click opens the menu.
#include "bar/SubMain.h"
#include "platform/ini/ini.h"
#include "tests/support/library_files.h"
#include "tests/support/program_run.h"
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

#include <QPoint>
#include <QThread>

namespace {

using namespace testing_support;

FixtureLibrary BarLibrary() {
  FixtureLibrary library;
  library.lines = QStringList{QStringLiteral("{AC}")} + SampleWordLines(20);
  library.normalSettings = {{"WordSpeed", "5"}, {"WordShowMain", "X"}, {"WordShowStatus", "X"}, {"WordSpeak", "0"}};
  return library;
}

// The window's top-left corner on the screen, or (-1, -1) when it cannot be read.
QPoint WindowPlace(const XvfbServer& server, const QString& window) {
  const CommandResult shell = Xdotool(server.display(), {"getwindowgeometry", "--shell", window});
  QPoint place(-1, -1);
  for (const QString& line : shell.output.split(QLatin1Char('\n'))) {
    if (line.startsWith("X=")) place.setX(line.mid(2).toInt());
    if (line.startsWith("Y=")) place.setY(line.mid(2).toInt());
  }
  return place;
}

class BarMouseX11 : public ::testing::Test {
 protected:
  explicit BarMouseX11(bool trayHost = true) : server(XvfbOptions{.trayHost = trayHost}) {}

  void SetUp() override {
    ASSERT_TRUE(server.running()) << server.error().toStdString();
    program.writeLibrary(BarLibrary());
    ASSERT_TRUE(program.start());
    bar = program.waitForWindow();
    ASSERT_FALSE(bar.isEmpty()) << program.log().toStdString();
  }

  bool xdotool(const QStringList& arguments) { return Xdotool(server.display(), arguments).ok(); }
  // Waits until the program shows `count` windows on the desktop (the bar, a menu, a message).
  bool desktopWindowsBecome(qsizetype count) {
    return WaitUntil([&] { return program.desktopWindows().size() == count; }, 5s, 100ms);
  }

  XvfbServer server;
  ProgramRun program{server};
  QString bar;
};

class NoTrayBarMouseX11 : public BarMouseX11 {
 protected:
  NoTrayBarMouseX11() : BarMouseX11(false) {}
};

TEST_F(BarMouseX11, TheIconDocksAndItsRightClickOpensTheTrayMenu) {
  const QString icon = program.waitForTrayIcon();
  ASSERT_FALSE(icon.isEmpty()) << program.log().toStdString();
  ASSERT_EQ(program.desktopWindows().size(), 1);

  ASSERT_TRUE(xdotool({"mousemove", "--window", icon, "8", "8"}));
  ASSERT_TRUE(xdotool({"click", "1"}));  // the left button does nothing
  QThread::msleep(500);
  EXPECT_EQ(program.desktopWindows().size(), 1);

  ASSERT_TRUE(xdotool({"click", "3"}));
  EXPECT_TRUE(desktopWindowsBecome(2)) << "no menu popped up";
}

TEST_F(BarMouseX11, DraggingTheBarMovesItAndStoresItsPlace) {
  const QPoint before = WindowPlace(server, bar);
  ASSERT_NE(before, QPoint(-1, -1));
  const QPoint grab = before + QPoint(60, 12);
  const QPoint shift(-150, -110);  // the bar starts low on the screen

  ASSERT_TRUE(xdotool({"mousemove", QString::number(grab.x()), QString::number(grab.y())}));
  ASSERT_TRUE(xdotool({"mousedown", "1"}));
  for (int step = 1; step <= 3; ++step) {
    const QPoint at = grab + shift * step / 3;
    ASSERT_TRUE(xdotool({"mousemove", QString::number(at.x()), QString::number(at.y())}));
    QThread::msleep(50);
  }
  ASSERT_TRUE(xdotool({"mouseup", "1"}));
  ASSERT_TRUE(xdotool({"mousemove", "5", "5"}));  // the place is stored when the pointer leaves

  const QString section = SubMain::ComputerSectionName();
  const auto stored = [&] {
    return QPoint(platform::ReadProfileString(program.settingsPath(), section, "WindowX", "Error").toInt(),
                  platform::ReadProfileString(program.settingsPath(), section, "WindowY", "Error").toInt());
  };
  EXPECT_TRUE(WaitUntil([&] { return stored() == before + shift; }, 5s)) << "stored " << stored().x() << ","
                                                                        << stored().y();
  EXPECT_EQ(WindowPlace(server, bar), before + shift);
}

TEST_F(NoTrayBarMouseX11, TheLearnerIsToldAndTheBarsRightClickOpensTheMenu) {
  ASSERT_TRUE(desktopWindowsBecome(2)) << "no message about the missing tray";
  for (const QString& window : program.desktopWindows()) xdotool({"windowfocus", window, "key", "Return"});
  ASSERT_TRUE(desktopWindowsBecome(1));
  const QString shown = program.desktopWindows().value(0);

  ASSERT_TRUE(xdotool({"mousemove", "--window", shown, "60", "12"}));
  ASSERT_TRUE(xdotool({"click", "3"}));
  EXPECT_TRUE(desktopWindowsBecome(2)) << "no menu popped up";
}

}  // namespace
