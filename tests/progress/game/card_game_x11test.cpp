// The card game on a real X server: its window is this process's own, on the private Xvfb the
// end-to-end suite's main starts, and the cards are clicked with the server's mouse (xdotool).
#include "tests/support/card_game_fixture.h"
#include "tests/support/x11_tools.h"

#include <gtest/gtest.h>

#include <QDir>

namespace {

using namespace testing_support;

using CardGame = CardGameFixture;

TEST_F(CardGame, PlayedWithTheMouseOnAnXServer) {
  const QString display = qEnvironmentVariable("DISPLAY");
  SetSegment(WordLines(8));
  frmCampaignButton& game = OpenDealtGame();
  ASSERT_EQ(VisibleCards(), 12);
  EXPECT_EQ(QDir(g_TempFolder).entryList(QDir::Files).size(), 12);
  const QImage back = ImageOf(0);
  auto mouseClick = [&](int card) {
    const QWidget& widget = *game.picImage[static_cast<size_t>(card)];
    const QPoint point = widget.mapToGlobal(widget.rect().center());
    const CommandResult click = Xdotool(display, {"mousemove", QString::number(point.x()), QString::number(point.y()),
                                                  "click", "1"});
    ASSERT_TRUE(click.ok()) << click.describe().toStdString();
  };
  int turns = 0;
  for (int card = 0; card < 12; ++card) {
    const int partner = PartnerOf(card);
    if (partner < card) continue;
    mouseClick(card);
    mouseClick(partner);
    ++turns;
    ASSERT_TRUE(WaitUntil([&] { return game.Txt_TurnsValue->text() == QString::number(turns) || game.LastTurns > 0; }, 4s));
    EXPECT_NE(ImageOf(card), back);  // a pair stays face up
    EXPECT_NE(ImageOf(partner), back);
  }
  ASSERT_EQ(dialogs_->messages.size(), 1u);
  EXPECT_EQ(game.LastTurns, 6);
  EXPECT_EQ(storedScore(), QStringLiteral("06 ") + game.LastTime);
}

}  // namespace
