// The real program under Xvfb with trayer as tray host, with openbox as window manager and
// without one: the meaning-symbol dialog opened from the tray menu over the always-on-top bar
// opens above it (the window manager stacks it last, and its centre shows the dialog, not the
// bar), stays above it when the bar is refitted, and takes the keys typed next.
#include "bar/SubMain.h"
#include "platform/ini/ini.h"
#include "tests/support/library_files.h"
#include "tests/support/program_run.h"
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

#include <QThread>

namespace {

using namespace testing_support;

// The managed windows from bottom to top, as decimal X window ids.
QStringList StackingOrder(const XvfbServer& server) {
  const QString output = server.run("xprop", {"-root", "_NET_CLIENT_LIST_STACKING"}).output;
  QStringList windows;
  for (QString id : output.section('#', 1).split(',', Qt::SkipEmptyParts))
    windows << QString::number(id.trimmed().toULongLong(nullptr, 16));
  return windows;
}

// The value of one field of xdotool's --shell output.
QString ShellField(const QString& output, const QString& field) {
  for (const QString& line : output.split('\n', Qt::SkipEmptyParts))
    if (line.startsWith(field + "=")) return line.section('=', 1);
  return {};
}

// The window and the windows it lies in up to the root (a window manager's frame among them), as
// decimal X window ids.
QStringList WindowAndAncestors(const XvfbServer& server, QString window) {
  QStringList chain;
  while (!window.isEmpty() && chain.size() < 16) {
    chain << window;
    const QString tree = server.run("xwininfo", {"-tree", "-id", window}).output;
    const QString parent = tree.section("Parent window id: ", 1).section(' ', 0, 0);
    window = parent.isEmpty() || tree.contains("Root window id: " + parent) ? QString()
                                                                              : QString::number(parent.toULongLong(nullptr, 16));
  }
  return chain;
}

// At the window's centre the pointer is over the window (or the frame a window manager put it in).
bool CentreShows(const XvfbServer& server, const QString& window) {
  const QString geometry = server.run("xdotool", {"getwindowgeometry", "--shell", window}).output;
  const int centreX = ShellField(geometry, "X").toInt() + ShellField(geometry, "WIDTH").toInt() / 2;
  const int centreY = ShellField(geometry, "Y").toInt() + ShellField(geometry, "HEIGHT").toInt() / 2;
  if (!Xdotool(server.display(), {"mousemove", QString::number(centreX), QString::number(centreY)}).ok()) return false;
  const QString under = server.run("xdotool", {"getmouselocation", "--shell"}).output;
  return WindowAndAncestors(server, window).contains(ShellField(under, "WINDOW"));
}

// The bar in the middle of the screen, stepping through segments of 30 words; the meaning-symbol
// dialog opened over it from the tray menu with the keyboard. The dialog must be on top where it
// opens, and stay on top when the next-segment key refits (and raises) the bar; the keys typed
// next reach it and store "]" as the meaning end symbol.
void OpenTheMeaningSymbolDialogOverTheBar(bool windowManager) {
  XvfbOptions options;
  options.windowManager = windowManager;
  XvfbServer server(options);
  ASSERT_TRUE(server.running()) << server.error().toStdString();
  ProgramRun program(server);
  FixtureLibrary library;
  library.lines = QStringList{"{AC}"} + SampleWordLines(70);
  library.normalSettings = {{"WordSpeed", "1"},       {"WordShowMain", "X"},     {"WordSpeak", "0"},
                            {"WindowW", "600"},       {"WordDoSegment", "X"},    {"WordSegmentSize", "30"},
                            {"WordShowStatus", "X"},  {"WordFont", "Arial;0:28"}};
  program.writeLibrary(library);
  const QString section = SubMain::ComputerSectionName();
  platform::WriteProfileString(program.settingsPath(), section, "WindowX", "340");
  platform::WriteProfileString(program.settingsPath(), section, "WindowY", "370");
  ASSERT_TRUE(program.start());
  const QString bar = program.waitForWindow();
  const QString icon = program.waitForTrayIcon();
  ASSERT_FALSE(bar.isEmpty() || icon.isEmpty()) << program.log().toStdString();

  const auto xdotool = [&](const QStringList& arguments) { return Xdotool(server.display(), arguments).ok(); };
  const QString dialog = program.openMeaningSymbolDialogFromTray(icon);
  ASSERT_FALSE(dialog.isEmpty()) << "no dialog";

  if (windowManager) {
    EXPECT_TRUE(WaitUntil([&] { return StackingOrder(server).endsWith(dialog); }, 5s))
        << StackingOrder(server).join(' ').toStdString() << " dialog " << dialog.toStdString();
    EXPECT_GT(StackingOrder(server).indexOf(dialog), StackingOrder(server).indexOf(bar));
  }
  EXPECT_TRUE(WaitUntil([&] { return CentreShows(server, dialog); }, 5s)) << "the bar covers the dialog";

  // The next segment refits the bar, which puts it on top of everything else.
  const QString segmentBefore = platform::ReadProfileString(program.settingsPath(), "Normal", "WordSegmentNo", "Error");
  ASSERT_TRUE(xdotool({"key", "F12"}));
  ASSERT_TRUE(WaitUntil(
      [&] {
        return platform::ReadProfileString(program.settingsPath(), "Normal", "WordSegmentNo", "Error") != segmentBefore;
      },
      5s))
      << "the next segment was not taken";
  QThread::msleep(300);
  EXPECT_TRUE(CentreShows(server, dialog)) << "the refitted bar covers the dialog";

  // Past the three buttons to the start and end lists; "]" chosen in the end list.
  ASSERT_TRUE(xdotool({"key", "--delay", "100", "Tab", "Tab", "Tab", "Tab", "bracketright"}));
  ASSERT_TRUE(xdotool({"mousemove", "--window", dialog, "401", "16", "click", "1"}));
  const auto storedEnd = [&] {
    return platform::ReadProfileString(program.settingsPath(), "Normal", "WordMeaningSymbolEnd", "Error");
  };
  EXPECT_TRUE(WaitUntil([&] { return storedEnd() == "]"; }, 5s)) << storedEnd().toStdString();
}

TEST(WindowsAboveBarX11, UnderAWindowManagerTheMeaningSymbolDialogOpensAndStaysAboveTheBar) {
  OpenTheMeaningSymbolDialogOverTheBar(true);
}

TEST(WindowsAboveBarX11, WithoutAWindowManagerTheMeaningSymbolDialogOpensAndStaysAboveTheBar) {
  OpenTheMeaningSymbolDialogOverTheBar(false);
}

}  // namespace
