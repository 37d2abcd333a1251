// The real program under Xvfb, with and without a window manager, in both interface languages:
// the meaning-symbol dialog opened from the tray menu on a library with a long line. Its end list
// drops down as a short scrolling list, not down to the screen's bottom, and its labels stand
// clear of the lists, as the dialog's pixels show.
#include "tests/support/library_files.h"
#include "tests/support/program_run.h"
#include "tests/support/window_geometry.h"
#include "tests/support/x_window_image.h"
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QRect>

#include <optional>
#include <tuple>
#include <vector>

namespace {

using namespace testing_support;

// Runs of columns, along a band of rows, that hold anything but the window's background.
struct InkRun {
  int left, right;  // inclusive
  int width() const { return right - left + 1; }
};
std::vector<InkRun> InkRuns(const QImage& image, int top, int bottom, QRgb background) {
  std::vector<InkRun> runs;
  for (int x = 0; x < image.width(); ++x) {
    bool ink = false;
    for (int y = top; y <= bottom && !ink; ++y) ink = image.pixel(x, y) != background;
    if (!ink) continue;
    if (!runs.empty() && runs.back().right == x - 1) {
      runs.back().right = x;
    } else {
      runs.push_back({x, x});
    }
  }
  return runs;
}

// A list box is far wider than any letter; a label's letters lie between the lists.
constexpr int kListMinWidth = 80;

class SymbolLists : public ::testing::TestWithParam<std::tuple<bool, const char*>> {};

TEST_P(SymbolLists, TheEndListDropsDownAsAShortScrollingListAndTheLabelsStandClearOfTheLists) {
  const bool windowManager = std::get<0>(GetParam());
  const QString letter = QString::fromLatin1(std::get<1>(GetParam()));
  XvfbOptions options;
  options.windowManager = windowManager;
  XvfbServer server(options);
  ASSERT_TRUE(server.running()) << server.error().toStdString();
  ProgramRun program(server);
  FixtureLibrary library;
  const QString longWord = QStringLiteral("abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyzabcdefgh");
  library.lines = {"{AC}", longWord + " (long} word", "pear (fruit} red"};
  library.normalSettings = {{"WordShowMain", "X"}, {"WordSpeak", "0"}, {"WordWait", "X"}, {"WordUILanguage", letter}};
  program.writeLibrary(library);
  ASSERT_TRUE(program.start());
  const QString bar = program.waitForWindow();
  const QString icon = program.waitForTrayIcon();
  ASSERT_FALSE(bar.isEmpty() || icon.isEmpty()) << program.log().toStdString();
  const QString dialog = program.openMeaningSymbolDialogFromTray(icon);
  ASSERT_FALSE(dialog.isEmpty()) << "no dialog";

  // The labels and the lists on their row, as the learner sees them.
  XWindowImage grabber(server.display());
  ASSERT_TRUE(grabber.connected());
  QImage shown;
  ASSERT_TRUE(WaitUntil([&] { return !(shown = grabber.grab(dialog)).isNull(); }, 3s));
  const QPoint endList(352, 146);  // where the learner clicks the end list
  const std::vector<InkRun> runs = InkRuns(shown, endList.y() - 6, endList.y() + 6, shown.pixel(2, endList.y()));
  std::vector<std::size_t> lists;
  for (std::size_t i = 0; i < runs.size(); ++i)
    if (runs[i].width() >= kListMinWidth) lists.push_back(i);
  ASSERT_EQ(lists.size(), 2u);
  ASSERT_GT(lists[0], 0u) << "no start label";
  ASSERT_GT(lists[1], lists[0] + 1) << "no end label between the lists";
  const InkRun startLabel{runs[0].left, runs[lists[0] - 1].right};
  const InkRun endLabel{runs[lists[0] + 1].left, runs[lists[1] - 1].right};
  EXPECT_GE(runs[lists[0]].left - startLabel.right, 4) << "the start label runs into its list";
  EXPECT_GE(runs[lists[1]].left - endLabel.right, 4) << "the end label runs into its list";
  // The Chinese labels have four characters each: the end label shows as wide as the start label.
  if (letter == "C") {
    EXPECT_NEAR(endLabel.width(), startLabel.width(), 2);
  }

  // The end list (one entry per character of the long line) drops down as a short list.
  const QStringList before = program.desktopWindows();
  ASSERT_TRUE(Xdotool(server.display(), {"mousemove", "--window", dialog, QString::number(endList.x()),
                                          QString::number(endList.y()), "click", "1"})
                  .ok());
  QString popup;
  ASSERT_TRUE(WaitUntil(
      [&] {
        for (const QString& window : program.desktopWindows())
          if (!before.contains(window)) popup = window;
        return !popup.isEmpty();
      },
      3s));
  const std::optional<QRect> dropped = WindowGeometry(server.display(), popup);
  ASSERT_TRUE(dropped);
  const int screenHeight = options.screen.section(QLatin1Char('x'), 1, 1).toInt();
  EXPECT_LT(dropped->height(), screenHeight / 3) << "the list runs from " << dropped->top() << " to " << dropped->bottom();
  ASSERT_TRUE(Xdotool(server.display(), {"key", "Escape"}).ok());
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutWindowManager, SymbolLists,
                         ::testing::Combine(::testing::Bool(), ::testing::Values("A", "C")),
                         [](const ::testing::TestParamInfo<SymbolLists::ParamType>& info) {
                           return std::string(std::get<0>(info.param) ? "Openbox" : "NoWindowManager") +
                                  (std::string(std::get<1>(info.param)) == "C" ? "Chinese" : "English");
                         });

}  // namespace
