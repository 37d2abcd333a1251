// The real program under Xvfb with trayer: the tray menu walked with the keyboard sets the word
// interval, which lands in the library's settings file and paces the bar; Exit ends the program
// and leaves the library file as it was. The items that open a window of their own (the about
// box, the day chart, the group- and phonetic-symbol dialogs) show it on the server, it closes
// from its own close spot, and the bar runs on.
#include "platform/ini/ini.h"
#include "tests/support/library_files.h"
#include "tests/support/program_run.h"
#include "tests/support/x_window_image.h"
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
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

// An item of the tray menu that opens a window: where it lies in the menu, what tells the window
// apart from the others, and a spot in it that closes it.
struct WindowItem {
  const char* name;
  int topItem;           // its place in the top menu, from 1; or that of the submenu that holds it
  int upsInSubmenu;      // 0: the top item itself; else how far up from the submenu's first item
  const char* title;
  const char* banner;     // a picture of the program folder the window shows at its top left, or null
  const char* storedKey;  // the key of section "Normal" that closing the window stores, or null
  QPoint closeSpot;
};

// The top menu: language .. show (ten items), day chart, about. The Show submenu opens on its
// first item; going up wraps to its end, where the symbol items lie above the meaning-size and
// meaning-rows submenus. The fixture's library has the program's default interface language,
// Chinese.
const WindowItem kWindowItems[] = {
    {"about box", 12, 0, "Corvel'sLexorn2", "frmAbout_Picture1.jpg", nullptr, QPoint(200, 40)},
    {"day chart", 11, 0, "每日进度图", nullptr, nullptr, QPoint(401, 17)},
    {"group-symbol dialog", 10, 5, "Corvel'sLexorn2", nullptr, "WordGroupSymbolStart", QPoint(401, 16)},
    {"phonetic-symbol dialog", 10, 4, "Corvel'sLexorn2", nullptr, "WordPhoneticSymbolStart", QPoint(401, 16)},
};

TEST_F(TrayMenuX11, EachItemThatOpensAWindowShowsItAndTheBarRunsOnOnceItIsClosed) {
  const XWindowImage screen(server.display());
  ASSERT_TRUE(screen.connected());
  for (const WindowItem& item : kWindowItems) {
    SCOPED_TRACE(item.name);
    const QStringList before = program.desktopWindows();
    openMenu();
    keys("Down", item.topItem);
    if (item.upsInSubmenu > 0) {
      keys("Right", 1);
      keys("Up", item.upsInSubmenu);
    }
    ASSERT_TRUE(xdotool({"key", "Return"}));

    // The window is the one new window on the desktop once the menu has gone.
    QString window;
    ASSERT_TRUE(WaitUntil(
        [&] {
          QStringList added = program.desktopWindows();
          for (const QString& old : before) added.removeAll(old);
          window = added.size() == 1 ? added.front() : QString();
          return !window.isEmpty() && DistinctColours(screen.grab(window)) > 2;
        },
        5s))
        << "no window drawn; " << program.log().toStdString();
    EXPECT_EQ(server.run("xdotool", {"getwindowname", window}).output.trimmed(), QString::fromUtf8(item.title));
    if (item.banner) {
      const QImage banner =
          QImage(program.programFolder() + "/" + item.banner).convertToFormat(QImage::Format_RGB32);
      ASSERT_FALSE(banner.isNull());
      EXPECT_EQ(screen.grab(window).copy(banner.rect()), banner) << "the banner is not shown";
    }

    ASSERT_TRUE(xdotool({"mousemove", "--window", window, QString::number(item.closeSpot.x()),
                         QString::number(item.closeSpot.y()), "click", "1"}));
    EXPECT_TRUE(WaitUntil([&] { return !program.desktopWindows().contains(window); }, 5s)) << "the window stays";
    if (item.storedKey) {
      EXPECT_TRUE(WaitUntil(
          [&] { return platform::ReadProfileString(program.settingsPath(), "Normal", item.storedKey, "Error") != "Error"; },
          5s))
          << "closing stored no " << item.storedKey;
    }

    // The bar, stepping every second, shows another word within three.
    const QImage shown = screen.grab(bar);
    EXPECT_TRUE(WaitUntil([&] { return screen.grab(bar) != shown; }, 3s)) << "the bar stands still";
    ASSERT_TRUE(program.process()->running()) << program.log().toStdString();
    xdotool({"mousemove", "0", "0"});  // off every window of the program
  }
}

}  // namespace
