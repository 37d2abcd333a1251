// The real program under Xvfb with trayer as the tray host, started without a library: Search
// on the shipped sample dictionary opens the look-up pop-up, a word put into the primary
// selection shows its meaning within a second, and Exit from the pop-up's tray menu takes the
// pop-up and its tray icon away and brings the manager back, whose Close ends the program.
#include "tests/support/program_run.h"
#include "tests/support/temp_folders.h"
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QRect>
#include <QRegularExpression>

namespace {

using namespace testing_support;

const QString kSampleName = "English-Chinese-Dictionary";

// The shipped sample dictionary, copied to where the shipped TopicList.ini names it.
void CopySampleDictionary(const ProgramRun& program) {
  const QString from = QStringLiteral(LEXORN_APP_DIR) + "/data/samples/";
  const QString to = program.programFolder() + "/data/samples/";
  QDirIterator files(from, {kSampleName + "*"}, QDir::Files, QDirIterator::Subdirectories);
  while (files.hasNext()) {
    const QString path = files.next();
    TempFolders::writeFile(to + path.mid(from.size()), TempFolders::readFile(path));
  }
}

class GetWordX11 : public ::testing::Test {
 protected:
  // The program's shown windows on the desktop with their places.
  QMap<QString, QRect> windows() const {
    QMap<QString, QRect> found;
    static const QRegularExpression place(R"(Position: (\d+),(\d+).*Geometry: (\d+)x(\d+))",
                                          QRegularExpression::DotMatchesEverythingOption);
    for (const QString& id : program.desktopWindows()) {
      const auto match = place.match(server.run("xdotool", {"getwindowgeometry", id}).output);
      if (match.hasMatch())
        found[id] = QRect(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt(),
                          match.captured(4).toInt());
    }
    return found;
  }
  // The pop-up: the window at the top-left corner, 253 pixels wide once it has shown a word.
  QRect popup() const {
    for (const QRect& rect : windows())
      if (rect.topLeft() == QPoint(0, 0) && rect.width() < 300) return rect;
    return {};
  }
  QString trayIcon() const { return program.trayWindows().value(0); }
  QImage screen(const QString& name) const {
    const QString path = shots.filePath(name + ".png");
    EXPECT_TRUE(Screenshot(server.display(), path).ok());
    return QImage(path);
  }
  void select(const QString& text) {
    const QString file = shots.filePath("selection.txt");
    TempFolders::writeFile(file, text.toUtf8());
    const CommandResult xclip = server.run("xclip", {"-selection", "primary", "-i", file});
    ASSERT_TRUE(xclip.ok()) << xclip.describe().toStdString();
  }

  XvfbServer server{XvfbOptions{.trayHost = true}};
  ProgramRun program{server};
  QTemporaryDir shots;
};

TEST_F(GetWordX11, SearchShowsSelectedWordsAndExitReturnsToTheManager) {
  ASSERT_TRUE(server.running()) << server.error().toStdString();
  CopySampleDictionary(program);
  ASSERT_TRUE(program.startWithoutLibrary());
  const QString manager = program.waitForWindow();
  ASSERT_FALSE(manager.isEmpty()) << program.log().toStdString();

  // The sample dictionary is the only shipped library found here: step onto it and press Search.
  ASSERT_TRUE(Xdotool(server.display(), {"mousemove", "--window", manager, "215", "55", "click", "1"}).ok());
  ASSERT_TRUE(WaitUntil([&] { return windows().size() > 1; }, 3s));  // the drop-down
  ASSERT_TRUE(Xdotool(server.display(), {"key", "Escape"}).ok());
  ASSERT_TRUE(WaitUntil([&] { return windows().size() == 1; }, 3s));
  ASSERT_TRUE(Xdotool(server.display(), {"key", "Down"}).ok());
  ASSERT_TRUE(Xdotool(server.display(), {"mousemove", "--window", manager, "384", "58", "click", "1"}).ok());
  ASSERT_TRUE(WaitUntil([&] { return !popup().isEmpty() && !trayIcon().isEmpty(); }, 5s)) << program.log().toStdString();
  EXPECT_FALSE(windows().contains(manager));  // Search hid the manager
  const QRect hint = popup();

  // An unlisted word, then a listed one with a meaning of several rows, selected with the rest of
  // a long page.
  select("  qwxyz\n");
  ASSERT_TRUE(WaitUntil([&] { return popup().width() == 253; }, 2s));
  const QRect notFound = popup();
  const QImage before = screen("not-found").copy(notFound);
  QElapsedTimer clock;
  clock.start();
  select("set" + QString(" the table by the window").repeated(2000));
  ASSERT_TRUE(WaitUntil([&] { return popup().height() > notFound.height(); }, 2s));
  EXPECT_LT(clock.elapsed(), 1000);
  RecordProperty("selection_to_meaning_ms", static_cast<int>(clock.elapsed()));
  EXPECT_GT(notFound.height(), hint.height());
  const QImage after = screen("meaning").copy(notFound);
  EXPECT_NE(before, after);  // the heading and the first meaning row changed

  // Exit from the tray menu: the pop-up and its icon go, the manager comes back.
  const QString icon = trayIcon();
  ASSERT_TRUE(Xdotool(server.display(), {"mousemove", "--window", icon, "4", "4", "click", "3"}).ok());
  ASSERT_TRUE(WaitUntil([&] { return windows().size() == 2; }, 3s));  // the pop-up and the menu
  ASSERT_TRUE(Xdotool(server.display(), {"key", "Down", "Down", "Return"}).ok());
  EXPECT_TRUE(WaitUntil([&] { return popup().isEmpty() && trayIcon().isEmpty() && windows().contains(manager); }, 3s));

  // The manager's Close ends the program: no window of the pop-up keeps it alive.
  ASSERT_TRUE(Xdotool(server.display(), {"mousemove", "--window", manager, "400", "15", "click", "1"}).ok());
  EXPECT_TRUE(program.process()->waitForExit(3s)) << program.log().toStdString();
}

}  // namespace
