// The real program under Xvfb with a compositor: the library's cover and the word's picture on
// the bar, which grows by the cover's row; the status row with the counts and the percentage box
// filled; the translucent bar as X sees it.
#include "core/word_pictures_bas.h"
#include "tests/support/library_files.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_folders.h"
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QThread>

namespace {

using namespace testing_support;

constexpr int kCoverPixels = 40;

// 40 words, the first 20 learned ("*"), in hold mode so the first word stays on the bar.
FixtureLibrary HalfLearnedLibrary() {
  FixtureLibrary library;
  QStringList words = SampleWordLines(40);
  for (int i = 0; i < 20; ++i) words[i].prepend(u'*');
  library.lines = QStringList{QStringLiteral("{AC}")} + words;
  library.normalSettings = {{"WordShowMain", "X"},     {"WordShowStatus", "X"}, {"WordShowProgress", "X"},
                            {"WordShowCounter", "X"},  {"WordShowPicture", "X"}, {"WordShowPhonetic", "X"},
                            {"WordWait", "X"},         {"WordSpeak", "0"},       {"WordTargetPercentage", "66"},
                            {"WordUILanguage", "A"}};
  return library;
}

void WritePicture(const QString& path, QColor colour) {
  QImage picture(432, kCoverPixels, QImage::Format_RGB32);
  picture.fill(colour);
  TempFolders::writeFile(path, {});
  picture.save(path, "JPG", 95);
}

bool Near(QColor a, QColor b) {
  return std::abs(a.red() - b.red()) < 16 && std::abs(a.green() - b.green()) < 16 && std::abs(a.blue() - b.blue()) < 16;
}

class BarEffectsX11 : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(server.running()) << server.error().toStdString(); }

  // Starts the program and returns its bar's window, or an empty text.
  QString start(const FixtureLibrary& library) {
    if (program.process() != nullptr) program.process()->stop();
    program.writeLibrary(library);
    if (!program.start()) return {};
    const QString window = program.waitForWindow();
    // The bar's default place is near the screen's bottom edge, where a taller bar would be cut
    // off in a screenshot.
    if (window.isEmpty()) return {};
    startPlace = WindowPlace(window);
    Xdotool(server.display(), {QStringLiteral("windowmove"), window, "100", "100"});
    QThread::msleep(1000);
    return window;
  }

  QImage windowImage(const QString& window) {
    const QString path = shots.filePath(QStringLiteral("bar%1.png").arg(++shotCount));
    if (!server.run(QStringLiteral("import"), {QStringLiteral("-window"), window, path}).ok()) return {};
    return QImage(path);
  }

  QPoint WindowPlace(const QString& window) {
    const CommandResult geometry = Xdotool(server.display(), {"getwindowgeometry", "--shell", window});
    QPoint place;
    for (const QString& line : geometry.output.split(u'\n')) {
      if (line.startsWith("X=")) place.setX(line.mid(2).toInt());
      if (line.startsWith("Y=")) place.setY(line.mid(2).toInt());
    }
    return place;
  }

  QString windowProperty(const QString& window, const QString& property) {
    return server.run(QStringLiteral("xprop"), {QStringLiteral("-id"), window, property}).output.trimmed();
  }

  XvfbServer server{XvfbOptions{.compositor = true}};
  ProgramRun program{server};
  QTemporaryDir shots;
  int shotCount = 0;
  QPoint startPlace;  // where the program placed its bar
};

TEST_F(BarEffectsX11, CoverWordPictureProgressAndTranslucency) {
  // Without a picture folder the picture row switches itself off.
  FixtureLibrary library = HalfLearnedLibrary();
  library.lines = QStringList{QStringLiteral("{AC}")} + SampleWordLines(40);  // nothing learned yet
  const QString plainWindow = start(library);
  ASSERT_FALSE(plainWindow.isEmpty()) << program.log().toStdString();
  const QImage plain = windowImage(plainWindow);
  ASSERT_FALSE(plain.isNull());

  // With a cover and a picture for the first word shown, translucent.
  const QString folder = QFileInfo(program.libraryPath()).path() + QStringLiteral("/Words.JPG/");
  WritePicture(folder + QStringLiteral("00.Cover.jpg"), Qt::blue);
  WritePicture(folder + QStringLiteral("word0021.jpg"), Qt::red);
  library = HalfLearnedLibrary();
  library.normalSettings.append({QStringLiteral("WordTransparent"), QStringLiteral("X")});
  library.normalSettings.append({QStringLiteral("WordColorNull"), QStringLiteral("X")});
  const QString window = start(library);
  ASSERT_FALSE(window.isEmpty()) << program.log().toStdString();
  const QImage bar = windowImage(window);
  ASSERT_FALSE(bar.isNull());

  EXPECT_EQ(bar.height() - plain.height(), CoverRowTwips(kCoverPixels) / 15);
  EXPECT_TRUE(Near(bar.pixelColor(20, 10), Qt::red)) << "the first word's picture on top";

  // The status rows (the bottom 12 pixels) carry different counts, not one and the same loading text.
  EXPECT_NE(bar.copy(0, bar.height() - 12, 300, 12), plain.copy(0, plain.height() - 12, 300, 12));

  // Half of 41 learned, target 66 %: the percentage box at the word row's right end is red at its
  // bottom and white at its top.
  const int wordRowBottom = bar.height() - 14;
  EXPECT_TRUE(Near(bar.pixelColor(bar.width() - 35, wordRowBottom - 1), QColor(255, 0, 0)));
  EXPECT_FALSE(Near(plain.pixelColor(plain.width() - 35, plain.height() - 15), QColor(255, 0, 0)));

  // Colour-follow: the word row took the colour of the screen one pixel left of the bar's place
  // when the word was shown (the bar has been moved since; the screen there is unchanged).
  const QString screenPath = shots.filePath(QStringLiteral("screen.png"));
  ASSERT_TRUE(Screenshot(server.display(), screenPath).ok());
  const QImage screen(screenPath);
  const QPoint sample = startPlace - QPoint(1, -1);
  EXPECT_EQ(bar.pixelColor(360, wordRowBottom - 17), screen.pixelColor(sample));

  // Alpha 100 of 255, as X reads the window's opacity (a 32-bit fraction of 0xFFFFFFFF).
  const QString opacity = windowProperty(window, QStringLiteral("_NET_WM_WINDOW_OPACITY"));
  const qulonglong value = opacity.section(QLatin1Char('='), 1).trimmed().toULongLong();
  EXPECT_EQ(qRound(value * 255.0 / 0xFFFFFFFFu), 100) << opacity.toStdString();
}

}  // namespace
