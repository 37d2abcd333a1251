#pragma once
// The memory-card game: a borderless window over the whole screen with the cards of the deck
// face down (up to twelve, in three rows of four). The player turns two cards per turn; a word and
// its meaning stay face up, any other pair turns back after a moment. The window counts turns and
// time, shows the library's best result, and stores a better one as the best score.
//
// The game's step is shown by the start button's caption: ready, waiting for the first card,
// waiting for the second card, pair to evaluate (the button sits above the visible area then, so
// only the timer or the keyboard presses it), and finished (the button comes into view and starts
// a new game). The window is shown by the card renderer frmGame once the card pictures exist;
// unloading it ends the game and removes the pictures.

#include "platform/forms/command_button.h"
#include "platform/forms/default_instance.h"
#include "platform/forms/label.h"
#include "platform/forms/picture_box.h"
#include "platform/forms/text_box.h"
#include "platform/forms/timer.h"

#include <QElapsedTimer>
#include <QImage>

#include <array>

class frmCampaignButton : public platform::Form, public platform::DefaultInstance<frmCampaignButton> {
  Q_OBJECT

 public:
  frmCampaignButton();
  ~frmCampaignButton() override;

  void Form_Load() override;
  void Form_Activate() override;
  void Form_Unload() override;

  // Lays the dealt cards out in rows of four across the screen and hides the cards not dealt.
  void realignimages();
  // Turns card `index` face up when the turn is waiting for a card and that card may be chosen.
  void showImage(int index);

  void Cmd_StartButton_Click();
  void picImage_Click(int index) { showImage(index); }
  void Picture2_Click() { unload(); }
  void Timer1_Timer();
  void Timer2_Timer();

  platform::PictureBox* Picture1;  // the banner
  platform::PictureBox* Picture2;  // the close box on the banner
  platform::Label* Lbl_LibName;
  platform::Label* Lbl_LibNameInfo;  // the library's name
  platform::Label* Lbl_UserName;
  platform::Label* Lbl_UserNameInfo;  // the learner's identity text
  platform::Label* Lbl_TimesDesc;
  platform::TextBox* Txt_TurnsValue;  // turns of the game being played
  platform::Label* Lbl_Unit1;
  platform::TextBox* Txt_TimeValue;  // its time, "HH:mm:ss"
  platform::Label* Lbl_HighScoreDesc;
  platform::Label* Lbl_HighScoreValue;  // the best result's turns
  platform::Label* Lbl_Unit2;
  platform::Label* Lbl_HighTimeValue;  // the best result's time
  platform::Label* Lbl_Instruction;
  platform::CommandButton* Cmd_StartButton;
  platform::Timer* Timer1;  // evaluates a turned pair 1.5 s after its second card
  platform::Timer* Timer2;  // advances the clock
  std::array<platform::PictureBox*, 12> picImage{};
  QImage Img_hidden;  // the card back

  // The last finished game's result (the counters above are reset once a game is finished).
  int LastTurns = 0;
  QString LastTime;

 private:
  enum class Step { Ready, FirstCard, SecondCard, Evaluate, Finished };
  // The start button's tops in twips: above the window's top edge while a game runs, in view
  // once it is finished.
  static constexpr double kButtonHiddenTop = -500;
  static constexpr double kButtonShownTop = 1100;

  // The screen width S in twips, from which every horizontal place is computed.
  static double ScreenTwips();
  struct Card {
    QString fileName;      // its picture in g_TempFolder
    bool matched = false;  // turned up with its partner: it stays face up
  };

  void CreateStatusControls();
  void CreateCards();
  void PlaceStatusControls();
  // Sets the step and the button caption that shows it.
  void setStep(Step step);
  void setInstruction(const QString& key);
  void showBack(int index);
  void showFace(int index);
  void deal();
  void evaluateTurn();
  void finishGame();
  bool allMatched() const;
  qint64 elapsedSeconds() const;

  Step step_ = Step::Ready;
  std::array<Card, 12> cards_;
  int dealtCards_ = 0;
  int firstCard_ = -1;
  int secondCard_ = -1;
  int turns_ = 0;
  QElapsedTimer clock_;  // started when the cards are dealt
};
