// The real program under Xvfb: it starts on a library given on its command line, shows the bar
// and steps through the words at the set interval.
#include "platform/ini/ini.h"
#include "tests/support/library_files.h"
#include "tests/support/program_run.h"
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>

namespace {

using namespace testing_support;

QByteArray WindowShot(const XvfbServer& server, const QString& window, const QString& path) {
  const CommandResult shot = server.run(QStringLiteral("import"), {QStringLiteral("-window"), window, path});
  if (!shot.ok()) return {};
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1);
}

FixtureLibrary StepLibrary() {
  FixtureLibrary library;
  library.lines = QStringList{QStringLiteral("{AC}")} + SampleWordLines(40);
  library.normalSettings = {{"WordSpeed", "1"}, {"WordShowMain", "X"}, {"WordShowStatus", "X"},
                            {"WordShowCounter", "X"}, {"WordShowProgress", "X"}, {"WordSpeak", "0"}};
  return library;
}

// The program started on the stepping library, its bar's window found.
class ProgramX11 : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.running()) << server.error().toStdString();
    program.writeLibrary(library());
    ASSERT_TRUE(program.start());
    window = program.waitForWindow();
    ASSERT_FALSE(window.isEmpty()) << program.log().toStdString();
  }

  virtual FixtureLibrary library() const { return StepLibrary(); }

  XvfbServer server;
  ProgramRun program{server};
  QString window;
};

// The same library in hold mode: the bar stays on its first word until told otherwise.
class HeldProgramX11 : public ProgramX11 {
 protected:
  FixtureLibrary library() const override {
    FixtureLibrary held = StepLibrary();
    held.normalSettings.append(qMakePair(QStringLiteral("WordWait"), QStringLiteral("X")));
    return held;
  }
};

TEST_F(HeldProgramX11, WheelOverTheWordRowStepsToTheNextWord) {
  QTemporaryDir shots;
  const QByteArray before = WindowShot(server, window, shots.filePath("before.png"));
  QThread::msleep(1500);
  EXPECT_EQ(WindowShot(server, window, shots.filePath("held.png")), before);  // hold: no step by itself

  ASSERT_TRUE(Xdotool(server.display(), {"mousemove", "--window", window, "60", "12"}).ok());
  ASSERT_TRUE(Xdotool(server.display(), {"click", "5"}).ok());  // wheel towards the user: forward
  EXPECT_TRUE(WaitUntil([&] { return WindowShot(server, window, shots.filePath("after.png")) != before; }, 3s));
}

TEST_F(ProgramX11, OpensTheBarForALibraryOnItsCommandLine) { EXPECT_TRUE(program.process()->running()); }

TEST_F(ProgramX11, StepsThroughTheWordsAtTheInterval) {

  // With a one-second interval, four seconds show at least three different words.
  QTemporaryDir shots;
  QSet<QByteArray> seen;
  for (int i = 0; i < 8 && seen.size() < 3; ++i) {
    const QByteArray hash = WindowShot(server, window, shots.filePath(QStringLiteral("bar%1.png").arg(i)));
    if (!hash.isEmpty()) seen.insert(hash);
    QThread::msleep(500);
  }
  ASSERT_GE(seen.size(), 3) << program.log().toStdString();

  // The settings load wrote the marker keys back into the library's settings file.
  const QString settings = program.settingsPath();
  EXPECT_EQ(platform::ReadProfileString(settings, "Normal", "WordPhoneticSymbolStart", "Error"), "[");
  EXPECT_EQ(platform::ReadProfileString(settings, "Normal", "WordMeaningSymbolEnd", "Error"), ")");
  EXPECT_EQ(platform::ReadProfileString(settings, "Normal", "WordGroupSymbolStart", "Error"), "");
}

}  // namespace
