// Message boxes on a real X server (the suite's own Xvfb, this process's windows): a message over
// a window, with and without an owner named and with and without a window manager, and the card
// game's end message over the game.
#include "platform/dialogs/dialogs.h"
#include "tests/support/card_game_fixture.h"
#include "tests/support/window_geometry.h"
#include "tests/support/x11_tools.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QProcessEnvironment>
#include <QTimer>

#include <memory>
#include <optional>

namespace {

using namespace testing_support;

// The window's client area as the X server has it.
std::optional<QRect> ServerGeometry(const QWidget& window) {
  return WindowGeometry(qEnvironmentVariable("DISPLAY"), QString::number(window.winId()));
}

// Answers the next message box once it is on screen, noting where the X server shows it.
class MessageWatcher {
 public:
  MessageWatcher() {
    QTimer::singleShot(50, &timer_, [this] { timer_.start(50); });
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr || !box->isVisible()) return;
      if (!place_) {
        WaitUntil([&] { return (place_ = ServerGeometry(*box)).has_value() && place_->width() == box->width(); }, 2s);
        return;
      }
      timer_.stop();
      box->accept();
    });
  }
  const std::optional<QRect>& place() const { return place_; }

 private:
  QTimer timer_;
  std::optional<QRect> place_;
};

int CentreDistance(const QRect& a, const QRect& b) {
  const QPoint d = a.center() - b.center();
  return std::max(std::abs(d.x()), std::abs(d.y()));
}

// A window manager frames a message with a title bar that its client area leaves out.
int FrameAllowance() {
  return RunOnDisplay(qEnvironmentVariable("DISPLAY"), "xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}).output.contains("window id")
             ? 30
             : 1;
}

// With and without a window manager: openbox runs on the suite's X server for the test's length.
class MessagePlacementX11 : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    if (!GetParam()) return;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    windowManager_ = std::make_unique<BackgroundProcess>(QStringLiteral("openbox"), QStringList{}, environment);
    ASSERT_TRUE(windowManager_->started()) << windowManager_->error().toStdString();
    ASSERT_TRUE(WaitUntil([] { return FrameAllowance() > 1; }, 5s)) << "openbox did not take the screen";
  }

 private:
  std::unique_ptr<BackgroundProcess> windowManager_;
};

TEST_P(MessagePlacementX11, AMessageOpensCentredOverTheWindowItBelongsTo) {
  platform::SetDialogProvider(nullptr);
  QWidget window;
  window.setGeometry(60, 80, 500, 300);
  window.show();
  ASSERT_TRUE(WaitUntil([&] { return ServerGeometry(window).has_value(); }, 3s));
  WaitUntil([] { return false; }, 300ms);
  const QRect shown = *ServerGeometry(window);
  {
    MessageWatcher watcher;  // no owner named: the one window on screen
    platform::MsgBox(QStringLiteral("a message"));
    ASSERT_TRUE(watcher.place());
    EXPECT_LE(CentreDistance(*watcher.place(), shown), FrameAllowance());
  }
  QWidget other;
  other.setGeometry(700, 400, 300, 200);
  other.show();
  WaitUntil([] { return false; }, 300ms);
  {
    MessageWatcher watcher;  // two windows: the named one
    platform::MsgBoxOver(window, QStringLiteral("a message"));
    ASSERT_TRUE(watcher.place());
    EXPECT_LE(CentreDistance(*watcher.place(), shown), FrameAllowance());
  }
}

class GameEndMessage : public CardGameFixture {};

TEST_F(GameEndMessage, OpensCentredOverTheGameOnAnXServer) {
  platform::SetDialogProvider(nullptr);
  SetSegment(WordLines(8));
  OpenGameFromMenu();
  // Dealt: the start button leaves the table to the cards.
  ASSERT_TRUE(WaitUntil(
      [] { return frmCampaignButton::loaded() && frmCampaignButton::instance().Cmd_StartButton->isHidden(); }, 3s));
  frmCampaignButton& game = frmCampaignButton::instance();
  ASSERT_TRUE(WaitUntil([&] { return ServerGeometry(game).has_value(); }, 3s));
  const QRect shown = *ServerGeometry(game);
  MessageWatcher watcher;
  for (int card = 0; card < 12; ++card) {
    const int partner = PartnerOf(card);
    if (partner < card) continue;
    ClickCard(card);
    ClickCard(partner);
    game.Cmd_StartButton->click();
  }
  ASSERT_TRUE(WaitUntil([&] { return watcher.place().has_value(); }, 5s));
  EXPECT_GT(game.LastTurns, 0);
  EXPECT_LE(CentreDistance(*watcher.place(), shown), FrameAllowance())
      << "message at " << watcher.place()->x() << "," << watcher.place()->y();
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutWindowManager, MessagePlacementX11, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "Openbox" : "NoWindowManager");
                         });

}  // namespace
