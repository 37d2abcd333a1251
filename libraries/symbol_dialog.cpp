// The symbol dialog's window: its controls placed as designed, its pictures, dragging by the title
// strip, and Escape, which closes it without storing anything.
#include "libraries/symbol_dialog.h"

#include "bar/SkolvaneBar.h"
#include "platform/app/folders.h"
#include "platform/dialogs/dialogs.h"
#include "platform/files/picture_file.h"
#include "platform/forms/twips.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

#include <algorithm>

namespace {

using platform::TwipsRect;
constexpr double kClientWidth = 6240, kClientHeight = 2535;
constexpr TwipsRect kTitleStrip{0, 0, 6300, 450};
constexpr TwipsRect kClosePicture{5880, 103, 270, 270};
constexpr TwipsRect kRule{0, 480, 6255, 15};
constexpr double kTopicLeft = 120, kTopicTop = 720, kLabelHeight = 255;
constexpr double kButtonTop = 600, kButtonHeight = 375, kChangeWidth = 1335;
constexpr TwipsRect kPrevButton{5640, kButtonTop, 255, kButtonHeight};
constexpr TwipsRect kNextButton{5880, kButtonTop, 255, kButtonHeight};
constexpr TwipsRect kSampleBox{120, 1080, 6015, 855};
constexpr double kListsTop = 2040;
constexpr double kStartLabelLeft = 120;
constexpr TwipsRect kStartList{1440, kListsTop, 1695, 300};
constexpr double kEndLabelLeft = 3360;
constexpr TwipsRect kEndList{4440, kListsTop, 1695, 300};
// The sample's font size, points.
constexpr double kSamplePoints = 12;
// A label keeps this far from the lists beside it, so its text never runs under a list.
constexpr double kLabelGap = 60;
// Rows a dropped-down list shows; a longer sample scrolls in it.
constexpr int kVisibleListRows = 10;

// The label's place on the lists' row: it ends before the list it names, and takes the free room
// after the list before it (`after`, none when it is 0), so that a longer caption still fits.
TwipsRect LabelBefore(double left, const TwipsRect& list, double after = 0) {
  if (after > 0) left = std::min(left, after + kLabelGap);
  return {left, kListsTop, list.left - kLabelGap - left, kLabelHeight};
}

// A list of symbols that drops down as a scrolling list of a few rows. Some styles drop a list
// down as a menu of every entry, as tall as the screen for a long sample; the style sheet asks
// for the plain list, which keeps to the row count.
void MakeScrollingList(QComboBox& list) {
  list.setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
  list.setMaxVisibleItems(kVisibleListRows);
}

// The title strip and close pictures of the program's borderless windows.
const QString kTitlePicture = QStringLiteral("frmManager_Title.png");
const QString kClosePictureFile = QStringLiteral("frmManager_Close.png");

}  // namespace

SymbolDialog::SymbolDialog(const SymbolDialogMember& member) : Form(member.formName.toString()), member_(member) {
  setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
  setCaption(platform::ProgramTitle());
  resize(platform::TwipsToPixels(kClientWidth), platform::TwipsToPixels(kClientHeight));
  CreateControls();

  const QColor background = palette().color(QPalette::Window);
  Picture1->setBackColor(background);
  Picture2->setBackColor(background);
  Picture1->setPicture(platform::ReadProgramPicture(kTitlePicture));
  Picture2->setPicture(platform::ReadProgramPicture(kClosePictureFile));

  Picture1->mouse().onMouseDown = [this](int, int, double, double) { Picture1_MouseDown(); };
  Picture1->mouse().onMouseMove = [this](int, int, double, double) { drag_.follow(); };
  Picture1->mouse().onMouseUp = [this](int, int, double, double) { drag_.finish(); };
  Picture2->mouse().onClick = [this] { Picture2_Click(); };
  Cmd_change->onClick = [this] { Cmd_change_Click(); };
  Cmd_Prev->onClick = [this] { Cmd_Prev_Click(); };
  Cmd_Next->onClick = [this] { Cmd_Next_Click(); };

  // Centred on the screen, where the learner's eyes are after choosing the tray item.
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

SymbolDialog::~SymbolDialog() = default;

void SymbolDialog::CreateControls() {
  Picture1 = add<platform::PictureBox>(QStringLiteral("Picture1"));
  platform::PlaceInTwips(*Picture1, kTitleStrip);
  Picture2 = add<platform::PictureBox>(QStringLiteral("Picture2"));
  platform::PlaceInTwips(*Picture2, kClosePicture);
  Frame2 = add<QFrame>(QStringLiteral("Frame2"));
  Frame2->setFrameShape(QFrame::HLine);
  Frame2->setFrameShadow(QFrame::Sunken);
  platform::PlaceInTwips(*Frame2, kRule);

  Lbl_Topic = add<platform::Label>(QStringLiteral("Lbl_Topic"));
  Lbl_Topic->setCaption(member_.topic.toString());
  platform::PlaceInTwips(*Lbl_Topic, {kTopicLeft, kTopicTop, member_.topicWidth, kLabelHeight});
  Cmd_change = add<platform::CommandButton>(QStringLiteral("Cmd_change"));
  Cmd_change->setCaption(QStringLiteral("换一个"));
  platform::PlaceInTwips(*Cmd_change, {member_.changeLeft, kButtonTop, kChangeWidth, kButtonHeight});
  Cmd_Prev = add<platform::CommandButton>(QStringLiteral("Cmd_Prev"));
  Cmd_Prev->setCaption(QStringLiteral("<"));
  platform::PlaceInTwips(*Cmd_Prev, kPrevButton);
  Cmd_Next = add<platform::CommandButton>(QStringLiteral("Cmd_Next"));
  Cmd_Next->setCaption(QStringLiteral(">"));
  platform::PlaceInTwips(*Cmd_Next, kNextButton);

  Pic_Sample = add<platform::PictureBox>(QStringLiteral("Pic_Sample"));
  platform::PlaceInTwips(*Pic_Sample, kSampleBox);
  // The bar's word font family shows the characters as the bar does, at a size that fits the box.
  QFont sampleFont = SkolvaneBar::loaded() ? SkolvaneBar::instance().Pic_ShowText->font() : font();
  sampleFont.setPointSizeF(kSamplePoints);
  Pic_Sample->setFont(sampleFont);

  Lbl_Start = add<platform::Label>(QStringLiteral("Lbl_Start"));
  Lbl_Start->setCaption(member_.startLabel.toString());
  platform::PlaceInTwips(*Lbl_Start, LabelBefore(kStartLabelLeft, kStartList));
  Cmb_Start = add<QComboBox>(QStringLiteral("Cmb_Start"));
  platform::PlaceInTwips(*Cmb_Start, kStartList);
  MakeScrollingList(*Cmb_Start);
  Lbl_End = add<platform::Label>(QStringLiteral("Lbl_End"));
  Lbl_End->setCaption(member_.endLabel.toString());
  platform::PlaceInTwips(*Lbl_End, LabelBefore(kEndLabelLeft, kEndList, kStartList.left + kStartList.width));
  Cmb_End = add<QComboBox>(QStringLiteral("Cmb_End"));
  platform::PlaceInTwips(*Cmb_End, kEndList);
  MakeScrollingList(*Cmb_End);
}

void SymbolDialog::Picture1_MouseDown() { drag_.start(); }

void SymbolDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();  // unloads the dialog; nothing is stored
    return;
  }
  Form::keyPressEvent(event);
}
