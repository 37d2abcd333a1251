#pragma once
// The card renderer: a small dialog that prepares one game of the word/meaning card game. Half a
// second after it opens it deals the deck from the current segment, draws every card's text in
// the bar's word font on the card face, saves each card as a picture in a private folder of its
// own, closes itself and shows the game window frmCampaignButton. A segment with fewer than two
// usable lines, or a folder or picture that cannot be written, is reported instead.
//
// Opened modally by the tray menu's Game item, and without waiting by the game window's
// new-game button.

#include "platform/forms/default_instance.h"
#include "platform/forms/label.h"
#include "platform/forms/picture_box.h"
#include "platform/forms/timer.h"

#include <QImage>

class frmGame : public platform::Form, public platform::DefaultInstance<frmGame> {
  Q_OBJECT

 public:
  frmGame();
  ~frmGame() override;

  void Form_Load() override;
  void Form_Unload() override;

  // The render step: runs once, from the timer.
  void Timer1_Timer();

  platform::PictureBox* Picture1;   // the banner
  platform::Label* Lbl_Topic;       // the game's name
  platform::PictureBox* Pic_dummy;  // the card being drawn, 209 x 186 pixels
  platform::Label* Lbl_Step1;       // what the dialog is doing
  platform::Timer* Timer1;          // starts the render step once the dialog is on screen
  QImage Img_background;            // the card face the text is drawn on

 private:
  // Draws one card's text on the face: centred, on one line, clipped at the card's edges, its
  // row at the card's vertical middle.
  void DrawCard(const QString& text);
  // Tells the learner why no game starts and closes the dialog.
  void GiveUp(const QString& key, const QString& fallback);

  bool drawing_ = false;  // cards are being drawn: an unload now throws the half-made game away
};
