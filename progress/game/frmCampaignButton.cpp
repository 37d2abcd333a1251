// The game window's controls and their layout: built in twips from the screen width, as the
// window always covers the whole screen.
#include "progress/game/frmCampaignButton.h"

#include "core/language_bas.h"
#include "core/read_ini_bas.h"
#include "core/vars_bas.h"
#include "platform/forms/twips.h"
#include "progress/game/card_deck.h"
#include "progress/game/card_picture_folder.h"
#include "progress/game/game_pictures.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

const QString kForm = QStringLiteral("frmCampaignButton");

// Sizes and places in twips (15 to a pixel).
constexpr double kCardWidth = 3135;     // 209 pixels; also the distance between two rows
constexpr double kCardHeight = 2790;    // 186 pixels
constexpr double kFirstRowTop = 1680;
constexpr double kMargin = 240;         // left edge of the library label; the status block keeps it on the right too
constexpr double kRowTop1 = 120;
constexpr double kRowTop2 = 450;
constexpr double kRowHeight = 300;
constexpr double kBannerTop = 120;
constexpr double kBannerWidth = 6300;   // 420 x 31 pixels
constexpr double kBannerHeight = 465;
constexpr double kCloseSize = 315;      // 21 x 21 pixels
constexpr double kButtonWidth = 2700;   // 180 pixels
constexpr double kButtonHeight = 495;   // fits above the window's top edge at -500
constexpr double kInstructionTop = 700;
constexpr double kInstructionWidth = 9000;
constexpr double kInstructionHeight = 330;

const QColor kTableColor(0xf3, 0xee, 0xe4);

}  // namespace

double frmCampaignButton::ScreenTwips() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return platform::PixelsToTwips(screen != nullptr ? screen->geometry().width() : ScreenPixels().width());
}

frmCampaignButton::frmCampaignButton() : Form(kForm) {
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  setAutoFillBackground(true);
  QPalette table = palette();
  table.setColor(QPalette::Window, kTableColor);
  setPalette(table);
  CreateStatusControls();
  CreateCards();

  Timer1 = add<platform::Timer>(QStringLiteral("Timer1"));
  Timer1->setInterval(1500);
  Timer1->onTimer = [this] { Timer1_Timer(); };
  Timer2 = add<platform::Timer>(QStringLiteral("Timer2"));
  Timer2->setInterval(900);
  Timer2->onTimer = [this] { Timer2_Timer(); };
}

frmCampaignButton::~frmCampaignButton() = default;

void frmCampaignButton::CreateStatusControls() {
  auto label = [this](const char* name, const QString& caption, double left, double top, double width) {
    auto* created = add<platform::Label>(QString::fromLatin1(name));
    created->setCaption(caption);
    created->twips().move(left, top, width, kRowHeight);
    return created;
  };
  auto textBox = [this](const char* name, const QString& text, double width) {
    auto* created = add<platform::TextBox>(QString::fromLatin1(name));
    created->setText(text);
    created->setReadOnly(true);
    created->setAlignment(Qt::AlignCenter);
    created->setFocusPolicy(Qt::NoFocus);
    created->twips().move(0, kRowTop1, width, kRowHeight);
    return created;
  };

  Picture1 = add<platform::PictureBox>(QStringLiteral("Picture1"));
  Picture1->twips().move(0, kBannerTop, kBannerWidth, kBannerHeight);
  Picture2 = add<platform::PictureBox>(QStringLiteral("Picture2"));
  Picture2->twips().move(0, kBannerTop + (kBannerHeight - kCloseSize) / 2, kCloseSize, kCloseSize);
  Picture2->setCursor(Qt::PointingHandCursor);
  Picture2->mouse().onClick = [this] { Picture2_Click(); };

  Lbl_LibName = label("Lbl_LibName", QStringLiteral("词库："), kMargin, kRowTop1, 900);
  Lbl_LibNameInfo = label("Lbl_LibNameInfo", QString(), kMargin + 900, kRowTop1, 5000);
  Lbl_UserName = label("Lbl_UserName", QStringLiteral("用户："), kMargin, kRowTop2, 900);
  Lbl_UserNameInfo = label("Lbl_UserNameInfo", QString(), kMargin + 900, kRowTop2, 5000);

  Lbl_TimesDesc = label("Lbl_TimesDesc", QStringLiteral("本局："), 0, kRowTop1, 1200);
  Txt_TurnsValue = textBox("Txt_TurnsValue", QStringLiteral("0"), 750);
  Lbl_Unit1 = label("Lbl_Unit1", QStringLiteral("步"), 0, kRowTop1, 600);
  Lbl_Unit1->setAlignment(Qt::AlignCenter);
  Txt_TimeValue = textBox("Txt_TimeValue", QStringLiteral("00:00:00"), 1200);
  Lbl_HighScoreDesc = label("Lbl_HighScoreDesc", QStringLiteral("最佳："), 0, kRowTop2, 1200);
  Lbl_HighScoreValue = label("Lbl_HighScoreValue", QString(), 0, kRowTop2, 750);
  Lbl_HighScoreValue->setAlignment(Qt::AlignCenter);
  Lbl_Unit2 = label("Lbl_Unit2", QStringLiteral("步"), 0, kRowTop2, 600);
  Lbl_Unit2->setAlignment(Qt::AlignCenter);
  Lbl_HighTimeValue = label("Lbl_HighTimeValue", QString(), 0, kRowTop2, 1200);
  Lbl_HighTimeValue->setAlignment(Qt::AlignCenter);

  Lbl_Instruction = label("Lbl_Instruction", QString(), 0, kInstructionTop, kInstructionWidth);
  Lbl_Instruction->setAlignment(Qt::AlignCenter);
  Lbl_Instruction->twips().setHeight(kInstructionHeight);
  QFont instructionFont = Lbl_Instruction->font();
  instructionFont.setPointSizeF(instructionFont.pointSizeF() * 1.25);
  instructionFont.setBold(true);
  Lbl_Instruction->setFont(instructionFont);

  Cmd_StartButton = add<platform::CommandButton>(QStringLiteral("Cmd_StartButton"));
  Cmd_StartButton->twips().move(0, kButtonHiddenTop, kButtonWidth, kButtonHeight);
  Cmd_StartButton->onClick = [this] { Cmd_StartButton_Click(); };
}

void frmCampaignButton::CreateCards() {
  for (int i = 0; i < kDeckSize; ++i) {
    platform::PictureBox* card = addIndexed<platform::PictureBox>(QStringLiteral("picImage"), i);
    card->twips().move(0, kFirstRowTop, kCardWidth, kCardHeight);
    card->setCursor(Qt::PointingHandCursor);
    card->mouse().onClick = [this, i] { picImage_Click(i); };
    picImage[static_cast<size_t>(i)] = card;
  }
}

void frmCampaignButton::Form_Load() {
  ApplyFormLanguage(kForm);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) setGeometry(screen->geometry());
  Img_hidden = LoadGamePicture(GamePicture::CardBack);
  Picture1->setPicture(LoadGamePicture(GamePicture::Banner));
  Picture2->setPicture(LoadGamePicture(GamePicture::CloseBox));
  Cmd_StartButton->setPicture(LoadGamePicture(GamePicture::StartButton));
  for (platform::PictureBox* card : picImage) card->setPicture(Img_hidden);

  Lbl_HighScoreValue->setCaption(g_GameBestScore);
  Lbl_HighTimeValue->setCaption(g_GameBestTime);
  const qsizetype extension = g_LibraryFileName.indexOf(QStringLiteral(".abc"));
  Lbl_LibNameInfo->setCaption(extension >= 0 ? g_LibraryFileName.left(extension) : g_LibraryFileName);
  Lbl_UserNameInfo->setCaption(g_UserIdentity);
  setCaption(Lbl_LibNameInfo->caption());
  PlaceStatusControls();
  setStep(Step::Ready);
  Timer2->setEnabled(true);
}

void frmCampaignButton::PlaceStatusControls() {
  const double screen = ScreenTwips();
  Picture1->twips().setLeft(screen / 2 - Picture1->twips().width() / 2);
  Picture2->twips().setLeft(Picture1->twips().left() + Picture1->twips().width() - Picture2->twips().width() - 100);
  Picture2->raise();
  Cmd_StartButton->twips().setTop(kButtonHiddenTop);
  Lbl_Instruction->twips().setLeft(screen / 2 - Lbl_Instruction->twips().width() / 2);

  // The status block on the right, aligned to the right edge with the left block's margin.
  Txt_TimeValue->twips().setLeft(screen - Txt_TimeValue->twips().width() - Lbl_LibName->twips().left());
  Lbl_HighTimeValue->twips().setLeft(Txt_TimeValue->twips().left());
  Lbl_Unit1->twips().setLeft(Txt_TimeValue->twips().left() - Lbl_Unit1->twips().width());
  Lbl_Unit2->twips().setLeft(Lbl_Unit1->twips().left());
  Txt_TurnsValue->twips().setLeft(Lbl_Unit1->twips().left() - Txt_TurnsValue->twips().width());
  Lbl_HighScoreValue->twips().setLeft(Txt_TurnsValue->twips().left());
  Lbl_TimesDesc->twips().setLeft(Txt_TurnsValue->twips().left() - Lbl_TimesDesc->twips().width());
  Lbl_HighScoreDesc->twips().setLeft(Lbl_TimesDesc->twips().left());
}

void frmCampaignButton::realignimages() {
  const double screen = ScreenTwips();
  constexpr int kColumns = 4;
  for (int i = 0; i < kDeckSize; ++i) {
    const int column = i % kColumns;
    const int row = i / kColumns;
    platform::PictureBox& card = *picImage[static_cast<size_t>(i)];
    card.twips().setLeft(screen / 8 + column * screen / 4 - kCardWidth / 2);
    card.twips().setTop(kFirstRowTop + row * kCardWidth);
    card.setVisible(i < dealtCards_);
  }
}

void frmCampaignButton::Form_Unload() {
  Timer1->setEnabled(false);
  Timer2->setEnabled(false);
  RemoveCardPictureFolder();
}
