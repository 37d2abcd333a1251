// Tray icon activations as the mouse messages the windows' handlers test.
#include "platform/tray/tray_icon.h"

#include <gtest/gtest.h>

namespace {

TEST(TrayIcon, EachActivationIsTheMessagesOfItsClick) {
  using Messages = std::vector<int>;
  EXPECT_EQ(platform::TrayMouseMessagesFor(QSystemTrayIcon::Context), (Messages{516, 517}));
  EXPECT_EQ(platform::TrayMouseMessagesFor(QSystemTrayIcon::Trigger), (Messages{513, 514}));
  EXPECT_EQ(platform::TrayMouseMessagesFor(QSystemTrayIcon::DoubleClick), (Messages{515, 514}));
  EXPECT_EQ(platform::TrayMouseMessagesFor(QSystemTrayIcon::MiddleClick), (Messages{519, 520}));
  EXPECT_EQ(platform::TrayMouseMessagesFor(QSystemTrayIcon::Unknown), Messages{});
}

}  // namespace
