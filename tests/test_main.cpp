#include <gtest/gtest.h>

#include "platform/forms/default_instance.h"

#include <QApplication>

#include <cstdlib>

// Tests run forms and drawing under Qt's offscreen platform unless a display platform is asked
// for explicitly, so test discovery and CI work without an X server.
int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  platform::UnloadAllForms();
  return result;
}
