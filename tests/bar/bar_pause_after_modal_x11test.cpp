// The real program under Xvfb with trayer, with openbox and without: a pointer resting on the bar
// pauses the word cycle, and the cycle runs again once the pointer is elsewhere, also when that
// happened while a modal window of the program was open: the card game played from the tray menu
// and its end message closed over the bar, or the meaning-symbol dialog open while the pointer left.
// Read from screenshots: a running bar shows a new word every second, a paused one stays still.
#include "bar/SubMain.h"
#include "platform/ini/ini.h"
#include "tests/support/bar_motion.h"
#include "tests/support/program_run.h"
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <QThread>

#include <functional>
#include <optional>
#include <ostream>
#include <vector>

namespace {

using namespace testing_support;

// The bar lies in the middle of the 1280 x 800 screen, under the messages centred there; its left
// end stays clear of the meaning-symbol dialog (416 x 169 pixels, also centred).
constexpr int kBarX = 340;
constexpr int kBarY = 390;
constexpr int kBarWidth = 600;
const QPoint kOnTheBar(kBarX + 40, kBarY + 10);  // on the word row, left of every centred window
const QPoint kOverTheBar(640, kBarY + 10);       // on a centred window where it covers the bar
const QPoint kAway(100, 700);                    // on the desktop (or the game's table), off the bar

// The game deals four cards in one row of four columns across the screen, 209 x 186 pixels each;
// its close box sits on the banner at the top.
constexpr int kCards = 4;
QRect CardRect(int card) { return {160 + card * 320 - 104, 112, 209, 186}; }
const QPoint kGameCloseBox(832, 23);

// Two lines with a word and a meaning (four cards); the others have no meaning and give no cards.
QStringList LibraryLines() {
  QStringList lines{QStringLiteral("{AC}"), QStringLiteral("apple@[a]fruit"), QStringLiteral("river@[r]water")};
  for (int i = 3; i <= 40; ++i) lines << QStringLiteral("word%1@[w%1]").arg(i);
  return lines;
}

class BarPauseAfterModal;
struct PointerPath {
  const char* name;
  // Leaves the bar paused under the pointer, takes the pointer elsewhere with a modal window of
  // the program open, and closes every window over the bar; false when a step did not happen.
  std::function<bool(BarPauseAfterModal&)> walk;
};
void PrintTo(const PointerPath& path, std::ostream* out) { *out << path.name; }

class BarPauseAfterModal : public ::testing::TestWithParam<std::tuple<PointerPath, bool>> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.running()) << server.error().toStdString();
    FixtureLibrary library;
    library.lines = LibraryLines();
    library.normalSettings = {{"WordSpeed", "1"},         {"WordShowMain", "X"},   {"WordSpeak", "0"},
                              {"WindowW", QString::number(kBarWidth)}, {"WordShowStatus", "X"},
                              {"WordFont", "Arial;0:14"}, {"WordUILanguage", "A"}, {"WordDoSegment", "X"}};
    program.writeLibrary(library);
    const QString section = SubMain::ComputerSectionName();
    platform::WriteProfileString(program.settingsPath(), section, "WindowX", QString::number(kBarX));
    platform::WriteProfileString(program.settingsPath(), section, "WindowY", QString::number(kBarY));
    jumpTo(kAway);
    ASSERT_TRUE(program.start());
    ASSERT_FALSE(program.waitForWindow().isEmpty()) << program.log().toStdString();
    icon = program.waitForTrayIcon();
    ASSERT_FALSE(icon.isEmpty()) << program.log().toStdString();
  }

 public:
  bool xdotool(const QStringList& arguments) { return Xdotool(server.display(), arguments).ok(); }
  bool jumpTo(QPoint point) { return xdotool({"mousemove", QString::number(point.x()), QString::number(point.y())}); }
  bool clickAt(QPoint point) {
    return xdotool({"mousemove", QString::number(point.x()), QString::number(point.y()), "click", "1"});
  }

  QImage screen() {
    const QString path = shots.filePath(QStringLiteral("screen.png"));
    return Screenshot(server.display(), path).ok() ? QImage(path) : QImage();
  }
  QByteArray look(const QRect& part) { return ImageFingerprint(screen().copy(part)); }
  QByteArray barLook() { return look({kBarX, kBarY, kBarWidth, 22}); }
  bool running() { return BarRuns([this] { return barLook(); }); }
  bool paused() { return BarStaysStill([this] { return barLook(); }); }

  // Rests the pointer on the bar until the bar pauses.
  bool restOnTheBar() { return jumpTo(kOnTheBar) && paused(); }

  // Opens the tray menu, puts the pointer at `pointer` while it is open, and picks the item the
  // keys lead to; returns the new window whose geometry contains `size` ("416x169"), or empty.
  // Without a place, the right click is sent to the icon and the pointer stays where it is.
  QString openFromTray(std::optional<QPoint> pointer, const QStringList& keys, const QString& size) {
    const QStringList before = program.desktopWindows();
    const QStringList click = pointer ? QStringList{"mousemove", "--window", icon, "8", "8", "click", "3"}
                                      : QStringList{"click", "--window", icon, "3"};
    if (!xdotool(click)) return {};
    if (!WaitUntil([&] { return program.desktopWindows().size() > before.size(); }, 5s)) return {};
    if (pointer) jumpTo(*pointer);
    for (const QString& key : keys) {
      if (!xdotool({"key", key})) return {};
    }
    QString opened;
    WaitUntil(
        [&] {
          for (const QString& window : program.desktopWindows()) {
            if (!before.contains(window) && server.run("xdotool", {"getwindowgeometry", window}).output.contains(size))
              opened = window;
          }
          return !opened.isEmpty();
        },
        10s);
    return opened;
  }
  bool windowGone(const QString& window) {
    return WaitUntil([&] { return !program.desktopWindows().contains(window); }, 5s);
  }

  // Plays the dealt game with the mouse: turns card pairs until every card stays face up; returns
  // the end message's window, or empty.
  QString playGame(const QString& game) {
    const auto cardLook = [&](int card) { return look(CardRect(card)); };
    // Dealt: every card shows the same back.
    QByteArray back;
    if (!WaitUntil([&] { return (back = cardLook(0)) == cardLook(kCards - 1); }, 5s, 200ms)) return {};
    QThread::msleep(300);
    back = cardLook(0);
    const QStringList before = program.desktopWindows();
    std::vector<int> left{0, 1, 2, 3};
    while (left.size() > 2) {
      bool paired = false;
      for (std::size_t other = 1; other < left.size() && !paired; ++other) {
        const QPoint first = CardRect(left[0]).center();
        const QPoint second = CardRect(left[other]).center();
        if (!clickAt(first) || !clickAt(second)) return {};
        QThread::msleep(2000);  // a pair that does not match turns back after 1.5 s
        if (cardLook(left[0]) != back) {
          left.erase(left.begin() + static_cast<std::ptrdiff_t>(other));
          left.erase(left.begin());
          paired = true;
        }
      }
      if (!paired) return {};
    }
    if (!clickAt(CardRect(left[0]).center()) || !clickAt(CardRect(left[1]).center())) return {};
    QString message;
    WaitUntil(
        [&] {
          for (const QString& window : program.desktopWindows()) {
            if (!before.contains(window) && window != game) message = window;
          }
          return !message.isEmpty();
        },
        5s);
    return message;
  }

  XvfbServer server{XvfbOptions{.windowManager = std::get<1>(GetParam())}};
  ProgramRun program{server};
  QTemporaryDir shots;
  QString icon;
};

const PointerPath kPaths[] = {
    {"GameEndMessageClosedOverTheBar",
     [](BarPauseAfterModal& t) {
       if (!t.restOnTheBar()) return false;
       // Language .. Type: the seventh item; from its first item the game is the last.
       const QString game = t.openFromTray(
           kOnTheBar, {"Down", "Down", "Down", "Down", "Down", "Down", "Down", "Right", "Up", "Return"}, "1280x800");
       if (game.isEmpty()) return false;
       const QString message = t.playGame(game);
       if (message.isEmpty()) return false;
       // The message is closed with the pointer on it where it covers the bar, then the game is
       // closed by its close box, far from the bar.
       if (!t.jumpTo(kOverTheBar)) return false;
       QThread::msleep(300);
       if (!t.xdotool({"key", "Return"}) || !t.windowGone(message)) return false;
       QThread::msleep(300);
       return t.clickAt(kGameCloseBox) && t.windowGone(game);
     }},
    {"PointerLeftWhileAModalDialogWasOpen",
     [](BarPauseAfterModal& t) {
       if (!t.restOnTheBar()) return false;
       // The menu opens by a click sent to the icon: the pointer stays on the bar throughout.
       const QString dialog = t.openFromTray(
           std::nullopt,
           {"Down", "Down", "Down", "Down", "Down", "Down", "Down", "Down", "Down", "Down", "Right", "Up", "Up", "Up",
            "Return"},
           "416x169");
       if (dialog.isEmpty()) return false;
       QThread::msleep(500);
       if (!t.jumpTo(kAway)) return false;
       QThread::msleep(500);
       return t.xdotool({"key", "Escape"}) && t.windowGone(dialog);
     }},
};

TEST_P(BarPauseAfterModal, TheBarRunsOnceThePointerIsElsewhere) {
  ASSERT_TRUE(running()) << "the bar does not step";
  ASSERT_TRUE(std::get<0>(GetParam()).walk(*this)) << program.log().toStdString();
  EXPECT_TRUE(running()) << "the bar stays paused";
}

INSTANTIATE_TEST_SUITE_P(Paths, BarPauseAfterModal, ::testing::Combine(::testing::ValuesIn(kPaths), ::testing::Bool()),
                         [](const ::testing::TestParamInfo<BarPauseAfterModal::ParamType>& info) {
                           return std::string(std::get<0>(info.param).name) +
                                  (std::get<1>(info.param) ? "_Openbox" : "_NoWindowManager");
                         });

}  // namespace
