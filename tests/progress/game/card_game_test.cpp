// The card game played through its windows under the offscreen platform: the tray menu's Game
// item opens the renderer, which shows the game window with its cards; cards are clicked as the
// mouse clicks them.
#include "core/language_bas.h"
#include "progress/game/card_deck.h"
#include "tests/support/card_game_fixture.h"
#include "tests/support/x11_tools.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <iostream>

namespace {

using namespace testing_support;

class CardGame : public CardGameFixture {};

// Cards on the table, once the game window has dealt them.
int VisibleCards() {
  if (!frmCampaignButton::instance().Cmd_StartButton->isHidden()) return 0;
  int visible = 0;
  for (const platform::PictureBox* card : frmCampaignButton::instance().picImage) visible += card->isVisible() ? 1 : 0;
  return visible;
}

TEST_F(CardGame, PlayedToTheEndStoresABetterScoreAndRemovesItsPictures) {
  SetSegment(WordLines(9) << QStringLiteral("长城@[Chángchéng]the Great Wall of China, a very long wall"));
  QElapsedTimer opening;
  opening.start();
  OpenGameFromMenu();
  ASSERT_TRUE(frmCampaignButton::loaded());
  frmCampaignButton& game = frmCampaignButton::instance();
  ASSERT_TRUE(WaitUntil([&] { return VisibleCards() == 12; }, 3s));
  std::cout << "[ figure ] Game item to twelve cards shown: " << opening.elapsed() << " ms\n";
  EXPECT_FALSE(frmGame::loaded());
  const QString pictures = g_TempFolder;
  EXPECT_EQ(QDir(pictures).entryList(QDir::Files).size(), 12);
  EXPECT_EQ(game.geometry(), game.screen()->geometry());  // over the whole screen

  // The first pair waits for the evaluation timer; the others are evaluated through the button,
  // which the keyboard can press while it sits above the screen.
  int turns = 0;
  for (int card = 0; card < 12; ++card) {
    const int partner = PartnerOf(card);
    ASSERT_GE(partner, 0);
    if (partner < card) continue;
    ClickCard(card);
    ClickCard(partner);
    ++turns;
    if (turns == 1) {
      ASSERT_TRUE(WaitUntil([&] { return game.Txt_TurnsValue->text() == QStringLiteral("1"); }, 3s));
    } else {
      game.Cmd_StartButton->click();
    }
  }
  ASSERT_EQ(turns, 6);

  const QString time = game.LastTime;
  ASSERT_EQ(dialogs_->messages.size(), 1u);
  EXPECT_EQ(dialogs_->messages[0].text, GetUIText("frmCampaignButton", "Tips08") + "6" +
                                            GetUIText("frmCampaignButton", "Tips09") + time);
  EXPECT_EQ(storedScore(), QStringLiteral("06 ") + time);
  EXPECT_EQ(game.Lbl_HighScoreValue->caption(), QStringLiteral("06"));
  EXPECT_EQ(game.LastTurns, 6);
  EXPECT_EQ(game.Txt_TurnsValue->text(), QStringLiteral("0"));
  EXPECT_TRUE(game.Cmd_StartButton->isVisible());  // in view now: a new game
  EXPECT_GE(game.Cmd_StartButton->y(), 0);

  // A new game replaces the window and the pictures.
  game.Cmd_StartButton->click();
  EXPECT_FALSE(QFileInfo::exists(pictures));
  ASSERT_TRUE(WaitUntil([] { return frmCampaignButton::loaded() && VisibleCards() == 12; }, 3s));
  EXPECT_NE(g_TempFolder, pictures);
  const QString second = g_TempFolder;
  frmCampaignButton::instance().Picture2_Click();  // the close box ends it
  EXPECT_FALSE(frmCampaignButton::loaded());
  EXPECT_FALSE(QFileInfo::exists(second));
}

}  // namespace
