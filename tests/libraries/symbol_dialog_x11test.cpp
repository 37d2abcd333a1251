// The real program under Xvfb with trayer: the meaning-symbol dialog opened from the tray menu
// with the keyboard, another end symbol chosen in its list with the keyboard and the close picture
// clicked; the settings file holds the symbol and the bar's meaning row shows the meanings.
#include "platform/ini/ini.h"
#include "tests/support/library_files.h"
#include "tests/support/program_run.h"
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

namespace {

using namespace testing_support;

// Pixels of the bar's lower half (its meaning row) that differ from the row's first pixel.
int MeaningRowInk(const XvfbServer& server, const QString& bar, const QString& path) {
  if (!server.run("import", {"-window", bar, path}).ok()) return -1;
  const QImage image(path);
  if (image.isNull()) return -1;
  int ink = 0;
  const QRgb back = image.pixel(0, image.height() - 1);
  for (int y = image.height() / 2; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) ink += image.pixel(x, y) != back ? 1 : 0;
  return ink;
}

TEST(SymbolDialogX11, TheMeaningEndSymbolChosenFromTheTrayMenuIsStoredAndShowsTheMeanings) {
  XvfbServer server;
  ASSERT_TRUE(server.running()) << server.error().toStdString();
  ProgramRun program(server);
  FixtureLibrary library;
  library.lines = {"{AC}", "apple (fruit} red", "pear (fruit} red", "plum (fruit} red"};
  library.normalSettings = {{"WordSpeed", "1"},         {"WordShowMain", "X"},   {"WordSpeak", "0"},
                            {"WordShowLongMeaning", "X"}, {"WordShowPhonetic", ""}, {"WordShowStatus", ""},
                            {"WordMeaningRows", "1"},     {"WordMeaningBarPercent", "100"}};
  program.writeLibrary(library);
  ASSERT_TRUE(program.start());
  const QString bar = program.waitForWindow();
  const QString icon = program.waitForTrayIcon();
  ASSERT_FALSE(bar.isEmpty() || icon.isEmpty()) << program.log().toStdString();
  QTemporaryDir shots;
  EXPECT_EQ(MeaningRowInk(server, bar, shots.filePath("before.png")), 0) << "no meaning ends with \")\"";

  const auto xdotool = [&](const QStringList& arguments) { return Xdotool(server.display(), arguments).ok(); };
  const QString dialog = program.openMeaningSymbolDialogFromTray(icon);
  ASSERT_FALSE(dialog.isEmpty()) << "no dialog";

  // The end-symbol list: opened with a click, "}" found by typing it, chosen with Return.
  ASSERT_TRUE(xdotool({"mousemove", "--window", dialog, "352", "146", "click", "1"}));
  ASSERT_TRUE(xdotool({"key", "braceright"}));
  ASSERT_TRUE(xdotool({"key", "Return"}));
  ASSERT_TRUE(xdotool({"mousemove", "--window", dialog, "401", "16", "click", "1"}));

  const auto storedEnd = [&] {
    return platform::ReadProfileString(program.settingsPath(), "Normal", "WordMeaningSymbolEnd", "Error");
  };
  ASSERT_TRUE(WaitUntil([&] { return storedEnd() == "}"; }, 5s)) << storedEnd().toStdString();
  EXPECT_TRUE(WaitUntil([&] { return MeaningRowInk(server, bar, shots.filePath("after.png")) > 0; }, 5s));
}

}  // namespace
