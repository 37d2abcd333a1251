// The manager window's controls, its load and unload, the pictures it shows, hovering, dragging
// by the title strip and closing.
#include "libraries/frmManager.h"

#include "bar/frmSysMenu.h"
#include "core/language_bas.h"
#include "core/vars_bas.h"
#include "libraries/frmSysMenuDict.h"
#include "platform/app/folders.h"
#include "platform/files/picture_file.h"
#include "platform/dialogs/dialogs.h"
#include "platform/dialogs/window_placement.h"
#include "platform/forms/twips.h"

#include <QMouseEvent>

namespace {

const QString kForm = QStringLiteral("frmManager");

using platform::TwipsRect;
constexpr TwipsRect kClientArea{0, 0, 6240, 2520};
constexpr TwipsRect kTitle{0, 0, 6300, 460};
constexpr TwipsRect kCloseBox{5880, 103, 270, 270};
constexpr TwipsRect kSeparator{0, 480, 6255, 15};
constexpr TwipsRect kListCaption{30, 795, 1335, 255};
constexpr TwipsRect kFolderBox{0, 1320, 6200, 735};
constexpr double kCategoryTop = 2040;
constexpr double kCategorySide = 480;  // the category pictures and Pic_Mix: 32 x 32 pixels
constexpr double kAllLibrariesLeft = 12 * kCategorySide;
constexpr TwipsRect kPlaySearch{5400, 510, 720, 720};
// The library list, in pixels: left, top, width, height of the dropped-down list.
constexpr int kComboLeft = 80, kComboTop = 45, kComboWidth = 270, kComboHeight = 170;

// The manager's pictures in the program folder.
const QString kTitlePicture = QStringLiteral("frmManager_Title.png");
const QString kClosePicture = QStringLiteral("frmManager_Close.png");
const std::array<QString, 2> kPlayPictures = {QStringLiteral("frmManager_Play.png"),
                                              QStringLiteral("frmManager_PlayHover.png")};
const std::array<QString, 2> kSearchPictures = {QStringLiteral("frmManager_Search.png"),
                                                QStringLiteral("frmManager_SearchHover.png")};

}  // namespace

frmManager::frmManager() : Form(kForm) {
  setWindowFlag(Qt::FramelessWindowHint);
  setCaption(platform::ProgramTitle());
  setMouseTracking(true);
  resize(platform::TwipsToPixels(kClientArea.width), platform::TwipsToPixels(kClientArea.height));
  // Where a desktop opens a main window, also when no window manager places it.
  platform::CentreOnScreen(*this);

  Pic_Title = add<platform::PictureBox>(QStringLiteral("Pic_Title"));
  platform::PlaceInTwips(*Pic_Title, kTitle);
  Pic_CloseWindow = add<platform::PictureBox>(QStringLiteral("Pic_CloseWindow"));
  platform::PlaceInTwips(*Pic_CloseWindow, kCloseBox);
  Frame2 = add<QFrame>(QStringLiteral("Frame2"));
  Frame2->setFrameShape(QFrame::HLine);
  Frame2->setFrameShadow(QFrame::Sunken);
  platform::PlaceInTwips(*Frame2, kSeparator);
  Lbl_List = add<platform::Label>(QStringLiteral("Lbl_List"));
  platform::PlaceInTwips(*Lbl_List, kListCaption);
  TxtFileLocation = add<QPlainTextEdit>(QStringLiteral("TxtFileLocation"));
  TxtFileLocation->setReadOnly(true);
  platform::PlaceInTwips(*TxtFileLocation, kFolderBox);
  for (std::size_t i = 0; i < Pic.size(); ++i) {
    Pic[i] = addIndexed<platform::PictureBox>(QStringLiteral("Pic"), static_cast<int>(i) + 1);
    platform::PlaceInTwips(*Pic[i], {static_cast<double>(i) * kCategorySide, kCategoryTop, kCategorySide, kCategorySide});
  }
  Pic_Mix = add<platform::PictureBox>(QStringLiteral("Pic_Mix"));
  platform::PlaceInTwips(*Pic_Mix, {kAllLibrariesLeft, kCategoryTop, kCategorySide, kCategorySide});
  // Index 1 lies beneath index 0: hiding the normal image shows the hover image.
  for (int i = 1; i >= 0; --i) {
    Picture_Play[static_cast<std::size_t>(i)] = addIndexed<platform::PictureBox>(QStringLiteral("Picture_Play"), i);
    Picture_Search[static_cast<std::size_t>(i)] = addIndexed<platform::PictureBox>(QStringLiteral("Picture_Search"), i);
  }

  const QColor background = palette().color(QPalette::Window);
  for (QObject* control : controls()) {
    if (auto* box = qobject_cast<platform::PictureBox*>(control)) box->setBackColor(background);
  }
  Pic_Title->setPicture(platform::ReadProgramPicture(kTitlePicture));
  Pic_CloseWindow->setPicture(platform::ReadProgramPicture(kClosePicture));
  for (std::size_t i = 0; i < 2; ++i) {
    platform::PlaceInTwips(*Picture_Play[i], kPlaySearch);
    platform::PlaceInTwips(*Picture_Search[i], kPlaySearch);
    Picture_Play[i]->setPicture(platform::ReadProgramPicture(kPlayPictures[i]));
    Picture_Search[i]->setPicture(platform::ReadProgramPicture(kSearchPictures[i]));
    Picture_Search[i]->hide();
  }
  for (std::size_t i = 0; i < Pic.size(); ++i)
    Pic[i]->setPicture(platform::ReadProgramPicture(QStringLiteral("_") + QChar(kCategoryLetters[i]) + QStringLiteral(".ico")));

  Pic_Title->mouse().onMouseDown = [this](int, int, double, double) { drag_.start(); };
  Pic_Title->mouse().onMouseMove = [this](int, int, double, double) { drag_.follow(); };
  Pic_Title->mouse().onMouseUp = [this](int, int, double, double) { drag_.finish(); };
  Pic_CloseWindow->mouse().onClick = [this] { Pic_CloseWindow_Click(); };
  for (std::size_t i = 0; i < Pic.size(); ++i) Pic[i]->mouse().onClick = [this, i] { Pic_Click(static_cast<int>(i) + 1); };
  Pic_Mix->mouse().onClick = [this] { Pic_Mix_Click(); };
  for (platform::PictureBox* box : Picture_Play) {
    box->setMouseTracking(true);
    box->mouse().onClick = [this] { Picture_Play_Click(); };
    box->mouse().onMouseMove = [this](int, int, double, double) { Picture_Play_MouseMove(); };
  }
  for (platform::PictureBox* box : Picture_Search) box->mouse().onClick = [this] { Picture_Search_Click(); };
  Picture_Search[0]->setMouseTracking(true);
  Picture_Search[0]->mouse().onMouseMove = [this](int, int, double, double) { Picture_Search_MouseMove(); };
}

frmManager::~frmManager() = default;

void frmManager::Form_Load() {
  for (platform::PictureBox* box : Picture_Play) {
    box->show();
    platform::PlaceInTwips(*box, kPlaySearch);
  }
  ApplyFormLanguage(kForm);
  language_ = g_UILanguage;
  Picture_Play[1]->setToolTip(GetUIText(kForm, QStringLiteral("ToolTipText")));

  FlagPictures flags;
  for (std::size_t i = 0; i < flags.categories.size(); ++i)
    flags.categories[i] = platform::ReadProgramPicture(QStringLiteral("_") + QChar(kCategoryLetters[i]) + QStringLiteral(".bmp"));
  flags.mix = Pic_Mix;
  Cmb_Library.setParent(this, std::move(flags));
  Cmb_Library.Create(kComboLeft, kComboTop, kComboWidth, kComboHeight, 16);
  Cmb_Library.onSelChange = [this] { Cmb_Library_SelChange(); };

  g_CategoryFilter = QStringLiteral("X");
  FillLibraryCombo(g_CategoryFilter);

  Pic_Mix->setToolTip(GetUIText(kForm, QStringLiteral("Tips_X")));
  for (std::size_t i = 0; i < Pic.size(); ++i)
    Pic[i]->setToolTip(GetUIText(kForm, QStringLiteral("Tips_") + QChar(kCategoryLetters[i])));
}

void frmManager::Form_Unload() { Cmb_Library.Destroy(); }

void frmManager::mouseMoveEvent(QMouseEvent* event) {
  Form::mouseMoveEvent(event);
  Form_MouseMove();
}

void frmManager::Form_MouseMove() {
  if (dictionaryLibrary_) {
    Picture_Search[0]->show();
    Picture_Search[1]->hide();
  } else {
    Picture_Play[0]->show();
  }
}

void frmManager::Picture_Play_MouseMove() {
  if (Cmb_Library.GetText().contains(QLatin1Char(':'))) Picture_Play[0]->hide();
}

void frmManager::Picture_Search_MouseMove() {
  if (!Cmb_Library.GetText().contains(QLatin1Char(':'))) return;
  Picture_Search[0]->hide();
  Picture_Search[1]->show();
}

void frmManager::ShowPlayOrSearch(bool dictionary) {
  for (std::size_t i = 0; i < 2; ++i) {
    platform::PlaceInTwips(*Picture_Play[i], kPlaySearch);
    platform::PlaceInTwips(*Picture_Search[i], kPlaySearch);
    Picture_Play[i]->setVisible(!dictionary);
    Picture_Search[i]->setVisible(dictionary);
  }
}

void frmManager::Pic_CloseWindow_Click() {
  frmManager::unload();
  frmSysMenu::unload();
  frmSysMenuDict::unload();
}

frmManager::OwnLanguage::OwnLanguage(const frmManager& manager) : saved_(g_UILanguage) {
  if (!manager.language_.isEmpty()) g_UILanguage = manager.language_;
  FollowUILanguageInQtTexts();
}

frmManager::OwnLanguage::~OwnLanguage() {
  g_UILanguage = saved_;
  FollowUILanguageInQtTexts();
}

void ReturnToLibraryManager() {
  frmManager& manager = frmManager::instance();
  // Asked for explicitly, the place it was left at holds: a window manager would otherwise place
  // the window anew when it is shown again.
  manager.move(manager.pos());
  manager.show();
  manager.raise();
  manager.activateWindow();
}
