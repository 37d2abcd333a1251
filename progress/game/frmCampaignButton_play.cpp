// The game's rules: dealing, turning cards, evaluating a turn, the end of the game and the best
// score.
#include "progress/game/frmCampaignButton.h"

#include "core/language_bas.h"
#include "core/read_ini_bas.h"
#include "core/vars_bas.h"
#include "platform/dialogs/dialogs.h"
#include "platform/files/picture_file.h"
#include "progress/game/card_deck.h"
#include "progress/game/frmGame.h"
#include "progress/game/game_pictures.h"
#include "progress/game/game_score.h"


#include <algorithm>

namespace {

const QString kForm = QStringLiteral("frmCampaignButton");

QString GameText(const char* key) { return GetUIText(kForm, QString::fromLatin1(key)); }

}  // namespace

void frmCampaignButton::setStep(Step step) {
  step_ = step;
  switch (step) {
    case Step::Ready:
      Cmd_StartButton->setCaption(GameText("Tips01"));
      break;
    case Step::FirstCard:
      Cmd_StartButton->setCaption(GameText("Tips04"));
      break;
    case Step::SecondCard:
      Cmd_StartButton->setCaption(GameText("Tips11"));
      break;
    case Step::Evaluate:
      Cmd_StartButton->setCaption(GameText("Tips12"));
      break;
    case Step::Finished:
      Cmd_StartButton->setCaption(GameText("Tips02"));
      break;
  }
}

void frmCampaignButton::setInstruction(const QString& key) { Lbl_Instruction->setCaption(GetUIText(kForm, key)); }

void frmCampaignButton::showBack(int index) { picImage[static_cast<size_t>(index)]->setPicture(Img_hidden); }

void frmCampaignButton::showFace(int index) {
  // The pictures are bitmaps whatever their names say: the reader goes by the content.
  QImage face = platform::ReadPictureFile(g_TempFolder + cards_[static_cast<size_t>(index)].fileName);
  if (face.isNull()) face = LoadGamePicture(GamePicture::CardFace);  // a blank face rather than no card
  picImage[static_cast<size_t>(index)]->setPicture(face);
}

void frmCampaignButton::Form_Activate() {
  if (step_ != Step::Ready) return;
  Cmd_StartButton_Click();
  clock_.start();
}

void frmCampaignButton::Cmd_StartButton_Click() {
  switch (step_) {
    case Step::Ready:
      deal();
      break;
    case Step::Evaluate:
      evaluateTurn();
      break;
    case Step::Finished:
      unload();
      frmGame::instance().show();  // deals and draws a new game, then shows a new game window
      break;
    case Step::FirstCard:
    case Step::SecondCard:
      break;  // the button is hidden while cards are awaited
  }
}

void frmCampaignButton::deal() {
  dealtCards_ = static_cast<int>(std::count_if(g_CardDeck.begin(), g_CardDeck.end(),
                                               [](const QString& entry) { return !entry.isEmpty(); }));
  for (int i = 0; i < kDeckSize; ++i) {
    showBack(i);
    cards_[static_cast<size_t>(i)] = Card{CardPictureName(i), false};
  }
  turns_ = 0;
  Txt_TurnsValue->setText(QStringLiteral("0"));
  realignimages();
  setInstruction(QStringLiteral("Tips03"));
  setStep(Step::FirstCard);
  Cmd_StartButton->hide();
}

void frmCampaignButton::showImage(int index) {
  if (index < 0 || index >= dealtCards_ || !Cmd_StartButton->isHidden()) return;
  // A card already face up, matched or the first of this turn, cannot be chosen.
  if (cards_[static_cast<size_t>(index)].matched) return;
  if (step_ == Step::FirstCard) {
    firstCard_ = index;
    showFace(index);
    setInstruction(QStringLiteral("Tips13"));
    setStep(Step::SecondCard);
  } else if (step_ == Step::SecondCard && index != firstCard_) {
    secondCard_ = index;
    showFace(index);
    setStep(Step::Evaluate);
    Cmd_StartButton->show();  // still above the visible area
    Timer1->setEnabled(true);
  }
}

void frmCampaignButton::Timer1_Timer() {
  if (step_ != Step::Evaluate || Cmd_StartButton->isHidden()) return;
  Timer1->setEnabled(false);
  Cmd_StartButton_Click();
}

void frmCampaignButton::Timer2_Timer() {
  if (clock_.isValid()) Txt_TimeValue->setText(FormatGameTime(elapsedSeconds()));
}

qint64 frmCampaignButton::elapsedSeconds() const { return clock_.isValid() ? clock_.elapsed() / 1000 : 0; }

bool frmCampaignButton::allMatched() const {
  return std::all_of(cards_.begin(), cards_.begin() + dealtCards_, [](const Card& card) { return card.matched; });
}

void frmCampaignButton::evaluateTurn() {
  ++turns_;
  Txt_TurnsValue->setText(QString::number(turns_));
  Card& first = cards_[static_cast<size_t>(firstCard_)];
  Card& second = cards_[static_cast<size_t>(secondCard_)];
  if (CardsMatch(g_CardDeck[static_cast<size_t>(firstCard_)], g_CardDeck[static_cast<size_t>(secondCard_)])) {
    first.matched = second.matched = true;
  } else {
    showBack(firstCard_);
    showBack(secondCard_);
  }
  firstCard_ = secondCard_ = -1;
  if (!allMatched()) {
    setInstruction(QStringLiteral("Tips03"));
    setStep(Step::FirstCard);
    Cmd_StartButton->hide();
    return;
  }
  finishGame();
}

void frmCampaignButton::finishGame() {
  const qint64 seconds = elapsedSeconds();
  const QString time = FormatGameTime(seconds);
  setStep(Step::Finished);
  Cmd_StartButton->twips().setTop(kButtonShownTop);
  Cmd_StartButton->twips().setLeft(ScreenTwips() / 2 - Cmd_StartButton->twips().width() / 2);
  Cmd_StartButton->show();
  setInstruction(QStringLiteral("Tips07"));
  Timer2->setEnabled(false);
  Txt_TimeValue->setText(time);
  LastTurns = turns_;
  LastTime = time;
  platform::MsgBoxOver(*this, GameText("Tips08") + QString::number(turns_) + GameText("Tips09") + time);

  if (IsBetterGameResult(turns_, seconds, g_GameBestScore, g_GameBestTime)) {
    if (!StoreBestGameScore(turns_, time)) {
      platform::MsgBox(GetMessageText(kForm, QStringLiteral("Msg_ScoreNotStored"),
                                      QStringLiteral("The best score could not be stored in ")) +
                       LibrarySettingsFile());
    }
    Lbl_HighScoreValue->setCaption(g_GameBestScore);
    Lbl_HighTimeValue->setCaption(g_GameBestTime);
  }
  Txt_TurnsValue->setText(QStringLiteral("0"));
  Txt_TimeValue->setText(QStringLiteral("00:00:00"));
}
