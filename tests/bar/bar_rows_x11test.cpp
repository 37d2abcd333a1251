// The real program under Xvfb with a compositor, with openbox and without, in both interface
// languages, read from screenshots as the learner sees the bar: the start text stands in the word
// row from the first second (and for good with an empty library); the rows meet on whole pixels
// in every colour mode, the status row reaching the bar's bottom edge with its logo drawn; and a
// language switch from the tray menu puts the status row into the new language at once.
#include "tests/support/library_files.h"
#include "tests/support/program_run.h"
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <QThread>

#include <vector>

namespace {

using namespace testing_support;

constexpr int kStatusRowPixels = 13;

struct Desk {
  bool windowManager;
  const char* language;  // the interface letter, "A" English or "C" Chinese
};

std::string DeskName(const ::testing::TestParamInfo<Desk>& info) {
  return std::string(info.param.windowManager ? "Openbox" : "NoWindowManager") +
         (info.param.language == std::string("A") ? "English" : "Chinese");
}

QString OtherLanguage(const QString& letter) { return letter == "A" ? QStringLiteral("C") : QStringLiteral("A"); }

// A library of `words` sample words in the groups sample's look: a 14-point word row with its
// phonetic row, one meaning row at half size and the status row, in `language`.
FixtureLibrary RowsLibrary(int words, const QString& language) {
  FixtureLibrary library;
  library.lines = QStringList{QStringLiteral("{AC}")} + SampleWordLines(words);
  library.normalSettings = {{"WordShowMain", "X"},        {"WordShowStatus", "X"},   {"WordShowCounter", "X"},
                            {"WordShowPhonetic", "X"},    {"WordShowLongMeaning", "X"}, {"WordMeaningRows", "1"},
                            {"WordMeaningBarPercent", "50"}, {"WordFont", "Arial;0:14"}, {"WordSpeak", "0"},
                            {"WordUILanguage", language}};
  return library;
}

int Darkness(QRgb pixel) { return 255 - qGray(pixel); }

// Pixels clearly darker than the row's back colour: text.
int InkIn(const QImage& image, const QRect& area, QRgb back) {
  int ink = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (Darkness(image.pixel(x, y)) - Darkness(back) > 100) ++ink;
  return ink;
}

// Runs of one colour down a column, from the top: (colour, length).
std::vector<std::pair<QRgb, int>> ColumnRuns(const QImage& image, int x) {
  std::vector<std::pair<QRgb, int>> runs;
  for (int y = 0; y < image.height(); ++y) {
    const QRgb pixel = image.pixel(x, y);
    if (runs.empty() || runs.back().first != pixel) runs.emplace_back(pixel, 0);
    ++runs.back().second;
  }
  return runs;
}

class BarRowsX11 : public ::testing::TestWithParam<Desk> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.running()) << server.error().toStdString();
    // The pointer in a corner: resting on the bar would pause it.
    Xdotool(server.display(), {"mousemove", "0", "0"});
  }

  QString language() const { return QString::fromLatin1(GetParam().language); }

  // Starts the program on the library and returns its bar's window, moved to (100, 100).
  QString start(const FixtureLibrary& library) {
    if (program && program->process() != nullptr) program->process()->stop();
    program = std::make_unique<ProgramRun>(server);
    program->writeLibrary(library);
    if (!program->start()) return {};
    const QString window = program->waitForWindow();
    if (window.isEmpty()) return {};
    Xdotool(server.display(), {"windowmove", window, "100", "100"});
    return window;
  }

  // The bar as the screen shows it now (composited, translucent or not).
  QImage barImage(const QString& window) {
    const QString path = shots.filePath(QStringLiteral("screen%1.png").arg(++shotCount));
    if (!Screenshot(server.display(), path).ok()) return {};
    const QString geometry = Xdotool(server.display(), {"getwindowgeometry", "--shell", window}).output;
    QRect rect;
    for (const QString& line : geometry.split(u'\n')) {
      const int value = line.section(u'=', 1).toInt();
      if (line.startsWith("X=")) rect.moveLeft(value);
      if (line.startsWith("Y=")) rect.moveTop(value);
      if (line.startsWith("WIDTH=")) rect.setWidth(value);
      if (line.startsWith("HEIGHT=")) rect.setHeight(value);
    }
    return rect.isEmpty() ? QImage() : QImage(path).copy(rect);
  }

  XvfbServer server{XvfbOptions{.compositor = true, .windowManager = GetParam().windowManager}};
  std::unique_ptr<ProgramRun> program;
  QTemporaryDir shots;
  int shotCount = 0;
};

TEST_P(BarRowsX11, TheStartTextIsOnTheBarFromItsFirstSecond) {
  struct Case {
    const char* name;
    int words;
    const char* interval;  // seconds
    int lookAtMs;          // after the bar showed
  };
  // Ten seconds before the first step; an empty library never steps, and keeps the start text.
  for (const Case& c : {Case{"first second", 40, "10", 1000}, Case{"empty library", 0, "1", 4000}}) {
    SCOPED_TRACE(c.name);
    FixtureLibrary library = RowsLibrary(c.words, language());
    library.normalSettings.append({QStringLiteral("WordSpeed"), QString::fromLatin1(c.interval)});
    const QString window = start(library);
    ASSERT_FALSE(window.isEmpty()) << (program ? program->log().toStdString() : std::string());
    QThread::msleep(static_cast<unsigned long>(c.lookAtMs));
    const QImage bar = barImage(window);
    ASSERT_FALSE(bar.isNull());
    const QRect rows(0, 0, bar.width() - 60, bar.height() - kStatusRowPixels);
    EXPECT_GT(InkIn(bar, rows, bar.pixel(bar.width() - 50, 2)), 30) << "the word rows are blank";
  }
}

TEST_P(BarRowsX11, RowsMeetOnWholePixelsInEveryColourMode) {
  struct Mode {
    const char* name;
    QList<QPair<QString, QString>> settings;
  };
  const Mode modes[] = {
      {"changed back colour", {{"WordBackColor", "12640511"}}},  // 0xC0E0FF: a light orange
      {"chameleon", {{"WordColorNull", "X"}}},
      {"translucent", {{"WordTransparent", "X"}}},
  };
  for (const Mode& mode : modes) {
    SCOPED_TRACE(mode.name);
    FixtureLibrary library = RowsLibrary(40, language());
    library.normalSettings.append({QStringLiteral("WordWait"), QStringLiteral("X")});
    library.normalSettings.append(mode.settings);
    const QString window = start(library);
    ASSERT_FALSE(window.isEmpty()) << (program ? program->log().toStdString() : std::string());
    QThread::msleep(1000);
    const QImage bar = barImage(window);
    ASSERT_FALSE(bar.isNull());

    // Down a column clear of text and icons: the rows' colour without a seam, then the status
    // row, exactly its height, down to the bar's bottom edge.
    const auto runs = ColumnRuns(bar, bar.width() - 60);
    std::string described;
    for (const auto& [colour, length] : runs) described += QColor(colour).name().toStdString() + " x " + std::to_string(length) + "; ";
    ASSERT_EQ(runs.size(), 2U) << "a seam between the rows: " << described;
    EXPECT_EQ(runs[1].second, kStatusRowPixels);
    const int statusTop = runs[0].second;

    // The logo at the status row's left end is drawn, on the status row's colour.
    const QRgb statusColour = runs[1].first;
    EXPECT_EQ(bar.pixel(0, statusTop), statusColour);
    int drawn = 0;
    for (int y = statusTop; y < bar.height(); ++y)
      for (int x = 0; x < 16; ++x)
        if (bar.pixel(x, y) != statusColour && bar.pixel(x, y) != qRgb(255, 255, 255)) ++drawn;
    EXPECT_GT(drawn, 40) << "the logo is a blank strip";
  }
}

TEST_P(BarRowsX11, AfterALanguageSwitchTheStatusRowSpeaksTheNewLanguageAtOnce) {
  FixtureLibrary library = RowsLibrary(40, OtherLanguage(language()));
  library.normalSettings.append({QStringLiteral("WordWait"), QStringLiteral("X")});
  library.normalSettings.append({QStringLiteral("WordShowProgress"), QStringLiteral("X")});
  const auto statusRow = [&](const QString& window) {
    const QImage bar = barImage(window);
    return bar.isNull() ? QImage() : bar.copy(0, bar.height() - kStatusRowPixels, bar.width(), kStatusRowPixels);
  };

  // The status row as a bar started in the other language shows it.
  QString window = start(library);
  ASSERT_FALSE(window.isEmpty()) << (program ? program->log().toStdString() : std::string());
  QThread::msleep(1000);
  const QImage wanted = statusRow(window);
  ASSERT_FALSE(wanted.isNull());

  for (auto& setting : library.normalSettings)
    if (setting.first == "WordUILanguage") setting.second = language();
  window = start(library);
  ASSERT_FALSE(window.isEmpty()) << program->log().toStdString();
  QThread::msleep(1000);
  ASSERT_NE(statusRow(window), wanted) << "both languages show the same status row";

  // The language submenu is the menu's first item; Chinese its first entry, English its second.
  const QString icon = program->waitForTrayIcon();
  ASSERT_FALSE(icon.isEmpty());
  const int before = program->desktopWindows().size();
  ASSERT_TRUE(Xdotool(server.display(), {"mousemove", "--window", icon, "8", "8", "click", "3"}).ok());
  ASSERT_TRUE(WaitUntil([&] { return program->desktopWindows().size() > before; }, 5s)) << "no tray menu";
  QStringList keys{"Down", "Right"};
  if (OtherLanguage(language()) == "A") keys << "Down";
  keys << "Return";
  for (const QString& key : keys) ASSERT_TRUE(Xdotool(server.display(), {"key", key}).ok());
  ASSERT_TRUE(WaitUntil([&] { return program->desktopWindows().size() == before; }, 5s)) << "the menu stays";
  EXPECT_TRUE(WaitUntil([&] { return statusRow(window) == wanted; }, 2s)) << "the status row keeps the old language";
}

INSTANTIATE_TEST_SUITE_P(Desks, BarRowsX11,
                         ::testing::Values(Desk{false, "A"}, Desk{false, "C"}, Desk{true, "A"}, Desk{true, "C"}),
                         DeskName);

}  // namespace
