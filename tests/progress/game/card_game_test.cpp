// The card game played through its windows under the offscreen platform: the tray menu's Game
// item opens the renderer, which shows the game window with its cards; cards are clicked as the
// mouse clicks them (with the X server's mouse: card_game_x11test.cpp).
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

class CardGame : public CardGameFixture {
 protected:
  // Turns every pair in one go, each evaluated at once through the start button.
  static void PlayPerfectly(frmCampaignButton& game) {
    for (int card = 0; card < 12; ++card) {
      const int partner = PartnerOf(card);
      if (partner < card) continue;
      ClickCard(card);
      ClickCard(partner);
      game.Cmd_StartButton->click();
    }
  }
};

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
  // The Game item while a game runs deals a fresh one in its place.
  const QString second = g_TempFolder;
  ClickCard(0);
  OpenGameFromMenu();
  EXPECT_FALSE(QFileInfo::exists(second));
  ASSERT_TRUE(WaitUntil([] { return frmCampaignButton::loaded() && VisibleCards() == 12; }, 3s));
  const QString third = g_TempFolder;
  EXPECT_EQ(QDir(third).entryList(QDir::Files).size(), 12);
  frmCampaignButton::instance().Picture2_Click();  // the close box ends it
  EXPECT_FALSE(frmCampaignButton::loaded());
  EXPECT_FALSE(QFileInfo::exists(third));
}

// A card face up (the first of the turn, or matched) cannot be chosen again, and cards clicked
// while a pair waits for its evaluation stay down: none of these clicks counts a turn.
TEST_F(CardGame, ClicksOnFaceUpCardsAreIgnored) {
  SetSegment(WordLines(6));
  frmCampaignButton& game = OpenDealtGame();
  const QImage back = ImageOf(0);
  const int first = 0;
  const int partner = PartnerOf(first);
  const int other = partner == 1 ? 2 : 1;  // neither `first` nor its partner

  ClickCard(first);
  ClickCard(first);  // the same card again
  EXPECT_TRUE(game.Cmd_StartButton->isHidden());
  EXPECT_FALSE(game.Timer1->enabled());
  ClickCard(partner);
  ClickCard(other);  // while the pair awaits its evaluation
  EXPECT_EQ(ImageOf(other), back);
  game.Cmd_StartButton->click();
  EXPECT_EQ(game.Txt_TurnsValue->text(), QStringLiteral("1"));

  const QImage matchedFace = ImageOf(first);
  EXPECT_NE(matchedFace, back);
  ClickCard(first);  // matched: stays up, starts no turn
  ClickCard(partner);
  EXPECT_TRUE(game.Cmd_StartButton->isHidden());
  EXPECT_EQ(ImageOf(first), matchedFace);

  // A wrong pair turns back and counts.
  int wrong = 0;
  while (wrong == first || wrong == partner || wrong == other || wrong == PartnerOf(other)) ++wrong;
  ClickCard(other);
  ClickCard(wrong);
  EXPECT_NE(ImageOf(other), back);
  game.Cmd_StartButton->click();
  EXPECT_EQ(ImageOf(other), back);
  EXPECT_EQ(ImageOf(wrong), back);
  EXPECT_EQ(game.Txt_TurnsValue->text(), QStringLiteral("2"));
}

TEST_F(CardGame, AWorseResultLeavesTheBestScoreAlone) {
  platform::WriteProfileString(settingsFile(), "Normal", "WordGameScore", "02 00:00:01");
  g_GameBestScore = QStringLiteral("02");
  g_GameBestTime = QStringLiteral("00:00:01");
  SetSegment(WordLines(3));  // three pairs: six cards, the other six hidden
  frmCampaignButton& game = OpenDealtGame();
  EXPECT_EQ(VisibleCards(), 6);
  PlayPerfectly(game);
  PlayPerfectly(game);  // the game is over: further clicks change nothing
  ASSERT_EQ(dialogs_->messages.size(), 1u);
  EXPECT_EQ(game.LastTurns, 3);
  EXPECT_EQ(storedScore(), QStringLiteral("02 00:00:01"));
  EXPECT_EQ(game.Lbl_HighScoreValue->caption(), QStringLiteral("02"));
}

TEST_F(CardGame, ASegmentWithoutTwoUsableLinesIsReportedInsteadOfDealt) {
  SetSegment({QStringLiteral("alone@its meaning"), QStringLiteral("@"), QStringLiteral("   ")});
  OpenGameFromMenu();
  ASSERT_EQ(dialogs_->messages.size(), 1u);
  EXPECT_EQ(dialogs_->messages[0].text, GetUIText("frmGame", "Msg_TooFewLines"));
  EXPECT_FALSE(dialogs_->messages[0].text.isEmpty());
  EXPECT_FALSE(frmGame::loaded());
  EXPECT_FALSE(frmCampaignButton::loaded());
  EXPECT_TRUE(g_TempFolder.isEmpty());
}

}  // namespace
