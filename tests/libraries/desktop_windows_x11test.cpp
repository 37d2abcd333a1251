// The real program under Xvfb, with and without a window manager, in both interface languages:
// where the manager, its messages and the web catalogue open, where Exit brings the manager back,
// the manager's all-libraries picture as it shows, and the language of Qt's own dialogs. Places
// are read from the X server (xdotool), pictures from the window's pixels.
#include "platform/ini/ini.h"
#include "tests/support/library_files.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_folders.h"
#include "tests/support/window_geometry.h"
#include "tests/support/x_window_image.h"
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QRect>
#include <QRegularExpression>

#include <optional>
#include <ostream>
#include <tuple>

// Failing comparisons of texts print the text.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace {

using namespace testing_support;

// The part of the screen windows may use: the window manager's work area, else the whole screen.
QRect AvailableArea(const XvfbServer& server) {
  const QString area = server.run("xprop", {"-root", "_NET_WORKAREA"}).output;
  const QRegularExpressionMatch numbers = QRegularExpression(R"(= (\d+), (\d+), (\d+), (\d+))").match(area);
  if (numbers.hasMatch())
    return QRect(numbers.captured(1).toInt(), numbers.captured(2).toInt(), numbers.captured(3).toInt(),
                 numbers.captured(4).toInt());
  const QString root = server.run("xwininfo", {"-root"}).output;
  const int width = QRegularExpression(R"(Width: (\d+))").match(root).captured(1).toInt();
  const int height = QRegularExpression(R"(Height: (\d+))").match(root).captured(1).toInt();
  return QRect(0, 0, width, height);
}

QString WindowName(const XvfbServer& server, const QString& window) {
  return server.run("xdotool", {"getwindowname", window}).output.trimmed();
}

// How far apart two centres are, in pixels along each axis (the larger one).
int CentreDistance(const QRect& a, const QRect& b) {
  const QPoint d = a.center() - b.center();
  return std::max(std::abs(d.x()), std::abs(d.y()));
}

// A window manager frames a window with a title bar that the client's centre leaves out.
constexpr int kFrameAllowance = 30;

struct Desktop {
  bool windowManager;
  QString letter;  // interface language, "A" or "C"
};

class DesktopWindows : public ::testing::TestWithParam<std::tuple<bool, const char*>> {
 protected:
  void SetUp() override {
    desktop_ = {std::get<0>(GetParam()), QString::fromLatin1(std::get<1>(GetParam()))};
    XvfbOptions options;
    options.windowManager = desktop_.windowManager;
    server_ = std::make_unique<XvfbServer>(options);
    ASSERT_TRUE(server_->running()) << server_->error().toStdString();
    program_ = std::make_unique<ProgramRun>(*server_);
    FixtureLibrary library;
    library.lines = QStringList{"{AC}"} + SampleWordLines(20);
    library.normalSettings = {{"WordShowMain", "X"}, {"WordSpeak", "0"}, {"WordWait", "X"},
                              {"WordUILanguage", desktop_.letter}};
    program_->writeLibrary(library);
    const QString folder = program_->libraryPath().chopped(QStringLiteral("Words.abc").size());
    TempFolders::writeFile(program_->programFolder() + "/TopicList.ini", "[AC:Words]\r\n@=" + folder.toUtf8() + "\r\n");
    setManagerLanguage(desktop_.letter);
  }

  void setManagerLanguage(const QString& letter) {
    TempFolders::writeFile(program_->profileFolder() + "/CORVELSETUP.ini", "[GLOBAL]\nISNEW=\nLANGUAGE=" + letter.toUtf8() + "\n");
  }

  bool xdotool(const QStringList& arguments) const { return Xdotool(server_->display(), arguments).ok(); }

  // Starts the program on the manager; its window id.
  QString startManager() {
    if (!program_->startWithoutLibrary()) return {};
    return program_->waitForWindow();
  }

  // The program's one new window on the desktop besides `known`, once it shows.
  QString waitForNewWindow(const QStringList& known, std::chrono::milliseconds timeout = 8s) {
    QString found;
    WaitUntil(
        [&] {
          for (const QString& window : program_->desktopWindows())
            if (!known.contains(window)) found = window;
          return !found.isEmpty();
        },
        timeout, 100ms);
    return found;
  }

  // A menu or list is mapped a moment before it takes the keyboard.
  static void settle() { WaitUntil([] { return false; }, 300ms); }

  // Chooses an item of the manager's list the way the keyboard does in its dropped-down list.
  bool chooseInList(const QString& manager, const QStringList& keys) {
    const QStringList before = program_->desktopWindows();
    if (!xdotool({"mousemove", "--window", manager, "215", "55", "click", "1"})) return false;
    if (!WaitUntil([&] { return program_->desktopWindows().size() > before.size(); }, 3s)) return false;
    settle();
    for (const QString& key : keys)
      if (!xdotool({"key", key})) return false;
    return true;
  }

  // Chooses the first library and presses Play: true once the bar shows in the manager's stead.
  bool play(const QString& manager) {
    if (!chooseInList(manager, {"Home", "Return"})) return false;
    if (!xdotool({"mousemove", "--window", manager, "384", "58", "click", "1"})) return false;
    return WaitUntil(
        [&] {
          const QStringList windows = program_->desktopWindows();
          return !windows.contains(manager) && !windows.isEmpty();
        },
        5s);
  }

  // Opens the tray menu and presses the keys in it. The icon may be docked anew meanwhile (the bar
  // captions it again after a language switch): it is looked up for each try.
  bool trayMenu(const QStringList& keys) {
    QString menu;
    for (int attempt = 0; attempt < 3 && menu.isEmpty(); ++attempt) {
      const QString icon = program_->waitForTrayIcon();
      if (icon.isEmpty()) return false;
      const QStringList before = program_->desktopWindows();
      if (!xdotool({"mousemove", "--window", icon, "8", "8", "click", "3"})) return false;
      menu = waitForNewWindow(before, 3s);
    }
    if (menu.isEmpty()) return false;
    settle();
    for (const QString& key : keys)
      if (!xdotool({"key", key})) return false;
    return true;
  }

  Desktop desktop_;
  std::unique_ptr<XvfbServer> server_;
  std::unique_ptr<ProgramRun> program_;
};

// The offset at which every opaque pixel of `picture` shows in `shown`, if any.
std::optional<QPoint> FindPicture(const QImage& shown, const QImage& picture) {
  for (int top = 0; top + picture.height() <= shown.height(); ++top) {
    for (int left = 0; left + picture.width() <= shown.width(); ++left) {
      bool all = true;
      for (int y = 0; y < picture.height() && all; ++y)
        for (int x = 0; x < picture.width() && all; ++x) {
          const QRgb pixel = picture.pixel(x, y);
          if (qAlpha(pixel) < 128) continue;
          all = (shown.pixel(left + x, top + y) & 0xFFFFFF) == (pixel & 0xFFFFFF);
        }
      if (all) return QPoint(left, top);
    }
  }
  return std::nullopt;
}

// The rows of a picture that hold opaque pixels: first and last.
std::pair<int, int> InkRows(const QImage& picture) {
  int first = -1, last = -1;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x)
      if (qAlpha(picture.pixel(x, y)) >= 128) {
        if (first < 0) first = y;
        last = y;
      }
  return {first, last};
}

TEST_P(DesktopWindows, TheManagerOpensCentredShowsItsPicturesWholeCentresItsMessageAndComesBackWhereItWasLeft) {
  const QString manager = startManager();
  ASSERT_FALSE(manager.isEmpty()) << program_->log().toStdString();
  const QRect area = AvailableArea(*server_);
  const std::optional<QRect> opened = WindowGeometry(server_->display(), manager);
  ASSERT_TRUE(opened);
  EXPECT_LE(CentreDistance(*opened, area), 1) << "opened at " << opened->x() << "," << opened->y();

  // The all-libraries picture shows whole, in the row of the category flags beside it.
  XWindowImage grabber(server_->display());
  ASSERT_TRUE(grabber.connected());
  ASSERT_TRUE(WaitUntil([&] { return !grabber.grab(manager).isNull(); }, 3s));
  const QImage shown = grabber.grab(manager);
  const QImage all(program_->programFolder() + "/WordLexornFlag.ico");
  const QImage spanish(program_->programFolder() + "/_S.ico");
  ASSERT_FALSE(all.isNull() || spanish.isNull());
  const std::optional<QPoint> allAt = FindPicture(shown, all);
  const std::optional<QPoint> spanishAt = FindPicture(shown, spanish);
  ASSERT_TRUE(allAt && spanishAt) << "a flag does not show whole";
  EXPECT_EQ(allAt->y() + InkRows(all).first, spanishAt->y() + InkRows(spanish).first);
  EXPECT_EQ(allAt->y() + InkRows(all).second, spanishAt->y() + InkRows(spanish).second);

  // A library chosen, then Delete: the question opens over the manager; Escape keeps the library.
  ASSERT_TRUE(chooseInList(manager, {"Home", "Return"}));
  const QStringList beforeQuestion = program_->desktopWindows();
  ASSERT_TRUE(chooseInList(manager, {"End", "Return"}));
  const QString question = waitForNewWindow(beforeQuestion);
  ASSERT_FALSE(question.isEmpty()) << "no question";
  const std::optional<QRect> questionPlace = WindowGeometry(server_->display(), question);
  ASSERT_TRUE(questionPlace);
  EXPECT_LE(CentreDistance(*questionPlace, *opened), desktop_.windowManager ? kFrameAllowance : 1)
      << "question at " << questionPlace->x() << "," << questionPlace->y();
  ASSERT_TRUE(xdotool({"key", "Escape"}));
  ASSERT_TRUE(WaitUntil([&] { return !program_->desktopWindows().contains(question); }, 3s));

  // Dragged by its title strip, then Play and the bar's Exit: the manager is back where it was left.
  ASSERT_TRUE(xdotool({"mousemove", "--window", manager, "200", "10", "mousedown", "1", "sleep", "0.2",
                       "mousemove_relative", "--", "-120", "-60", "sleep", "0.2", "mousemove_relative", "--", "-60",
                       "-40", "sleep", "0.3", "mouseup", "1"}));
  std::optional<QRect> left;
  ASSERT_TRUE(WaitUntil(
      [&] {
        left = WindowGeometry(server_->display(), manager);
        return left && left->topLeft() != opened->topLeft();
      },
      3s));
  ASSERT_TRUE(play(manager)) << program_->log().toStdString();
  ASSERT_TRUE(trayMenu({"Up", "Return"}));  // Exit, the menu's last item
  ASSERT_TRUE(WaitUntil([&] { return program_->desktopWindows().contains(manager); }, 5s)) << program_->log().toStdString();
  std::optional<QRect> back;
  EXPECT_TRUE(WaitUntil(
      [&] {
        back = WindowGeometry(server_->display(), manager);
        return back && back->topLeft() == left->topLeft();
      },
      3s))
      << "left at " << left->x() << "," << left->y() << ", back at " << (back ? back->x() : -1) << ","
      << (back ? back->y() : -1);
}

TEST_P(DesktopWindows, TheWebCatalogueWithoutAServerOpensCentredAndKeepsItsLongerMessageOnScreen) {
  const QString manager = startManager();
  ASSERT_FALSE(manager.isEmpty()) << program_->log().toStdString();
  const QStringList before = program_->desktopWindows();
  ASSERT_TRUE(chooseInList(manager, {"End", "Up", "Return"}));  // the Web item
  const QString fetch = waitForNewWindow(before);
  ASSERT_FALSE(fetch.isEmpty()) << program_->log().toStdString();
  const std::optional<QRect> opened = WindowGeometry(server_->display(), fetch);
  ASSERT_TRUE(opened);
  const QRect area = AvailableArea(*server_);
  EXPECT_LE(CentreDistance(*opened, area), desktop_.windowManager ? kFrameAllowance : 1);

  // The placeholder address does not answer: the window grows for the message and stays on screen.
  std::optional<QRect> failed;
  ASSERT_TRUE(WaitUntil(
      [&] {
        failed = WindowGeometry(server_->display(), fetch);
        return failed && failed->height() > opened->height();
      },
      20s));
  EXPECT_TRUE(area.contains(*failed));
  EXPECT_EQ(failed->center().x(), opened->center().x());
}

// Qt's font dialog, from the bar's tray menu, is titled in the bar's language.
TEST_P(DesktopWindows, QtsOwnDialogsSpeakTheInterfaceLanguage) {
  ASSERT_TRUE(program_->start());
  ASSERT_FALSE(program_->waitForWindow().isEmpty()) << program_->log().toStdString();
  const QStringList before = program_->desktopWindows();
  ASSERT_TRUE(trayMenu({"Down", "Down", "Down", "Return"}));  // the font item
  const QString dialog = waitForNewWindow(before);
  ASSERT_FALSE(dialog.isEmpty());
  EXPECT_EQ(WindowName(*server_, dialog), desktop_.letter == "C" ? QStringLiteral("选择字体") : QStringLiteral("Select Font"));
  ASSERT_TRUE(xdotool({"key", "Escape"}));
}

// The bar switched to the other language; back in the manager, Add still speaks the manager's.
TEST_P(DesktopWindows, TheManagersAddDialogKeepsTheManagersLanguageAfterTheBarSwitched) {
  const QString manager = startManager();
  ASSERT_FALSE(manager.isEmpty()) << program_->log().toStdString();
  ASSERT_TRUE(play(manager)) << program_->log().toStdString();
  // The language submenu lists Chinese, then English; the other one is chosen.
  ASSERT_TRUE(trayMenu({"Down", "Right", desktop_.letter == "C" ? "Down" : "Home", "Return"}));
  const QString other = desktop_.letter == "C" ? QStringLiteral("A") : QStringLiteral("C");
  const auto stored = [&] {
    return platform::ReadProfileString(program_->settingsPath(), "Normal", "WordUILanguage", "Error");
  };
  ASSERT_TRUE(WaitUntil([&] { return stored() == other; }, 3s)) << stored().toStdString();
  ASSERT_TRUE(trayMenu({"Up", "Return"}));  // Exit
  ASSERT_TRUE(WaitUntil([&] { return program_->desktopWindows().contains(manager); }, 5s));

  const QStringList before = program_->desktopWindows();
  ASSERT_TRUE(chooseInList(manager, {"End", "Up", "Up", "Return"}));  // the Add item
  const QString dialog = waitForNewWindow(before);
  ASSERT_FALSE(dialog.isEmpty());
  EXPECT_EQ(WindowName(*server_, dialog),
            desktop_.letter == "C" ? QStringLiteral("选择词库文件") : QStringLiteral("Select Library file"));
  ASSERT_TRUE(xdotool({"key", "Escape"}));
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutWindowManager, DesktopWindows,
                         ::testing::Combine(::testing::Bool(), ::testing::Values("A", "C")),
                         [](const ::testing::TestParamInfo<DesktopWindows::ParamType>& info) {
                           return std::string(std::get<0>(info.param) ? "Openbox" : "NoWindowManager") +
                                  (std::string(std::get<1>(info.param)) == "C" ? "Chinese" : "English");
                         });

}  // namespace
