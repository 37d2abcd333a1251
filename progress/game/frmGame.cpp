#include "progress/game/frmGame.h"

#include "core/word_font_bas.h"
#include "core/language_bas.h"
#include "core/vars_bas.h"
#include "platform/dialogs/dialogs.h"
#include "platform/files/picture_file.h"
#include "platform/fonts/font_mapping.h"
#include "platform/forms/twips.h"
#include "progress/game/card_deck.h"
#include "progress/game/card_picture_folder.h"
#include "progress/game/frmCampaignButton.h"
#include "progress/game/game_pictures.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPointer>
#include <QScreen>

#include <vector>

namespace {

const QString kForm = QStringLiteral("frmGame");

constexpr QSize kClientSize(291, 316);
constexpr QRect kCardRect(41, 72, 209, 186);
constexpr int kRenderDelayMs = 500;

}  // namespace

frmGame::frmGame() : Form(kForm) {
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setFixedSize(kClientSize);

  Picture1 = add<platform::PictureBox>(QStringLiteral("Picture1"));
  Picture1->setGeometry(0, 0, 420, 31);  // wider than the dialog: its middle part is cut off

  Lbl_Topic = add<platform::Label>(QStringLiteral("Lbl_Topic"));
  Lbl_Topic->setCaption(QStringLiteral("单词分组配对游戏"));
  QFont topicFont = platform::ResolveFont(QStringLiteral("宋体"), 12);
  topicFont.setBold(true);
  Lbl_Topic->setFont(topicFont);
  Lbl_Topic->setAlignment(Qt::AlignCenter);
  Lbl_Topic->setGeometry(0, 38, kClientSize.width(), 26);

  Pic_dummy = add<platform::PictureBox>(QStringLiteral("Pic_dummy"));
  Pic_dummy->twips().move(platform::PixelsToTwips(kCardRect.x()), platform::PixelsToTwips(kCardRect.y()),
                          platform::PixelsToTwips(kCardRect.width()), platform::PixelsToTwips(kCardRect.height()));

  Lbl_Step1 = add<platform::Label>(QStringLiteral("Lbl_Step1"));
  Lbl_Step1->setCaption(QStringLiteral("生成游戏文件..."));
  Lbl_Step1->setAlignment(Qt::AlignCenter);
  Lbl_Step1->setGeometry(0, 272, kClientSize.width(), 24);

  Timer1 = add<platform::Timer>(QStringLiteral("Timer1"));
  Timer1->setInterval(kRenderDelayMs);
  Timer1->onTimer = [this] { Timer1_Timer(); };
}

frmGame::~frmGame() = default;

void frmGame::Form_Load() {
  ApplyFormLanguage(kForm);
  setCaption(Lbl_Topic->caption());
  Picture1->setPicture(LoadGamePicture(GamePicture::Banner));
  Img_background = LoadGamePicture(GamePicture::CardFace);
  Pic_dummy->setPicture(Img_background);
  Pic_dummy->setForeColor(QApplication::palette().color(QPalette::WindowText));
  ApplyWordFont(*Pic_dummy, g_FontSpec);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->geometry().center() - QPoint(kClientSize.width() / 2, kClientSize.height() / 2));
  }
  Timer1->setEnabled(true);
}

void frmGame::Form_Unload() {
  Timer1->setEnabled(false);
  // Closed by the learner in the middle of drawing: the half-made game is thrown away.
  if (drawing_) RemoveCardPictureFolder();
}

void frmGame::DrawCard(const QString& text) {
  Pic_dummy->cls();
  // One row of the bar's word box (in twips) for this font centres the text line on the card.
  const double rowTwips = g_TextBoxHeight > 0 ? g_TextBoxHeight
                                              : platform::PixelsToTwips(QFontMetrics(Pic_dummy->font()).height());
  const int top = static_cast<int>((Pic_dummy->twips().height() / 2 - rowTwips / 2) / platform::kTwipsPerPixel);
  const QRect area(0, top, kCardRect.width(), kCardRect.height() - top);
  Pic_dummy->draw([&](QPainter& painter) {
    painter.setClipRect(area);
    painter.drawText(area, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, text);
  });
}

void frmGame::GiveUp(const QString& key, const QString& fallback) {
  drawing_ = false;
  RemoveCardPictureFolder();
  platform::MsgBox(GetMessageText(kForm, key, fallback));
  unload();
}

void frmGame::Timer1_Timer() {
  Timer1->setEnabled(false);
  // A game still on the table gives way to the new one: it reads the deck and pictures about to
  // be replaced.
  frmCampaignButton::unload();
  const int cards = BuildCardDeck(CardDeckGenerator());
  if (cards == 0) {
    GiveUp(QStringLiteral("Msg_TooFewLines"),
           QStringLiteral("This segment has fewer than two lines with a word and a meaning: no game can be dealt."));
    return;
  }
  if (!CreateCardPictureFolder()) {
    GiveUp(QStringLiteral("Msg_NoFolder"), QStringLiteral("No temporary folder for the card pictures could be made."));
    return;
  }
  // The texts are taken before the first card is drawn: the segment may change while the
  // dialog lets other events run.
  std::vector<QString> texts;
  for (int card = 0; card < cards; ++card) {
    const QString& entry = g_CardDeck[static_cast<size_t>(card)];
    texts.push_back(CardText(g_SegmentLines[static_cast<size_t>(CardPosition(entry) - 1)].text, CardSide(entry)));
  }
  drawing_ = true;
  const QPointer<frmGame> self(this);
  for (int card = 0; card < cards; ++card) {
    DrawCard(texts[static_cast<size_t>(card)]);
    QCoreApplication::processEvents();  // the card being drawn shows in the dialog
    if (self.isNull() || !loaded()) return;  // closed meanwhile: its unload threw the pictures away
    if (!platform::WritePictureFile(Pic_dummy->image(), g_TempFolder + CardPictureName(card), "BMP")) {
      GiveUp(QStringLiteral("Msg_PictureNotWritten"), QStringLiteral("A card picture could not be written."));
      return;
    }
  }
  drawing_ = false;
  unload();
  frmCampaignButton& game = frmCampaignButton::instance();
  game.show();
  game.raise();
  game.activateWindow();  // its activation deals the cards
}
