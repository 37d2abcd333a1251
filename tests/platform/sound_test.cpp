#include "platform/sound/sound.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFileInfo>

namespace platform {
namespace {

// The event sound must never hold up the program, whatever the machine has for sound.
TEST(PlaySoundAsync, ReturnsPromptlyForMissingAndRealFiles) {
  const QString shipped = QStringLiteral(LEXORN_APP_DIR "/Windows Recycle.wav");
  ASSERT_TRUE(QFileInfo::exists(shipped));
  QElapsedTimer clock;
  clock.start();
  PlaySoundAsync(QStringLiteral("/nonexistent/folder/Windows Recycle.wav"));
  PlaySoundAsync(shipped);
  PlaySoundAsync(shipped);  // a second sound while the first may still play
  PlaySoundAsync(QString());
  EXPECT_LT(clock.elapsed(), 2000);
}

}  // namespace
}  // namespace platform
