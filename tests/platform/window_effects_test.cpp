#include "platform/window/opacity.h"
#include "platform/window/screen_pixel.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

TEST(ScreenPixel, APointOnNoScreenCannotBeRead) {
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(platform::GetPixel(screen.left() - 1, screen.top() + 1), platform::kInvalidColor);
  EXPECT_EQ(platform::GetPixel(screen.right() + 1, screen.top()), platform::kInvalidColor);
}

TEST(WindowAlpha, KeptWithinOpaqueAndInvisible) {
  QWidget window;
  for (const auto& [set, read] : {std::pair{100, 100}, {255, 255}, {300, 255}, {-5, 0}}) {
    platform::SetWindowAlpha(window, set);
    EXPECT_EQ(platform::WindowAlpha(window), read) << set;
  }
}

}  // namespace
