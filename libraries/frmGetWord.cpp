// The dictionary pop-up's window: its controls, load and unload, the look-up of a captured word,
// the tray icon, minimising, dragging and closing.
#include "libraries/frmGetWord.h"

#include "core/language_bas.h"
#include "core/vars_bas.h"
#include "libraries/dictionary_lookup.h"
#include "libraries/frmManager.h"
#include "libraries/frmSysMenuDict.h"
#include "libraries/getword_rows.h"
#include "platform/app/folders.h"
#include "platform/files/picture_file.h"
#include "platform/dialogs/dialogs.h"
#include "platform/fonts/font_mapping.h"
#include "platform/forms/twips.h"
#include "platform/window/window.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

namespace {

const QString kForm = QStringLiteral("frmGetWord");

using platform::TwipsRect;
constexpr TwipsRect kCloseButton{0, 0, 270, 270};
constexpr TwipsRect kHeading{270, 0, 3500, 270};
constexpr TwipsRect kMeaningBox{0, 270, 3770, 255};
constexpr double kDesignWidth = 3765;
// The room a meaning row leaves free at the box's right edge.
constexpr double kRowMarginTwips = 60;
// The window's width after a look-up, pixels.
constexpr int kShownWidth = 253;
// Text is drawn into a rectangle from its place to these pixel edges.
constexpr int kDrawRight = 2000;
constexpr int kDrawBottom = 2000;
constexpr int kHintBottom = 200;

const QString kFontFace = QStringLiteral("Arial");
constexpr double kPointSize = 10;  // the meaning rows are 1.5 times this many pixels high

// A selection is looked up as soon as the learner lets go of the pointer's buttons; where they
// cannot be seen, once it has rested this many tenths of a second, so one the learner still drags
// wider is looked up once, whole.
constexpr std::int32_t kSelectionSettleTenths = 1;

// The tray tip: what runs, then the library's name; the tray shows at most 63 characters.
const QString kTrayTip = QStringLiteral("Corvel背单词屏幕取词运行中!\r\n");
constexpr qsizetype kTrayTipLength = 63;

// g_LibraryTitle without its ".abc".
QString LibraryName() { return g_LibraryTitle.left(std::max<qsizetype>(g_LibraryTitle.size() - 4, 0)); }

// Draws `text` top-left aligned at (0, top), clipped to the drawing edges; "&" stands as it is.
void DrawRow(platform::PictureBox& box, const QString& text, int top, int bottom) {
  box.draw([&](QPainter& painter) {
    painter.drawText(QRect(0, top, kDrawRight, bottom - top), Qt::AlignLeft | Qt::AlignTop, text);
  });
}

}  // namespace

frmGetWord::frmGetWord() : Form(kForm) {
  platform::MakeTopmostToolWindow(*this);
  // A captured word must not take the focus from the program the learner selected it in.
  setAttribute(Qt::WA_ShowWithoutActivating);
  setCaption(platform::ProgramTitle());
  setWindowIcon(QIcon(QPixmap::fromImage(platform::ReadProgramPicture(QStringLiteral("frmGetWord.png")))));
  resize(platform::TwipsToPixels(kDesignWidth), platform::TwipsToPixels(kHeading.height));

  Picture2 = add<platform::PictureBox>(QStringLiteral("Picture2"));
  platform::PlaceInTwips(*Picture2, kCloseButton);
  Picture2->setToolTip(QStringLiteral("关闭"));
  Picture2->setPicture(platform::ReadProgramPicture(QStringLiteral("frmGetWord_Close.png")));
  Picture1 = add<platform::PictureBox>(QStringLiteral("Picture1"));
  platform::PlaceInTwips(*Picture1, kHeading);
  Picture1->setBackColor(QColor(0xDC, 0xE8, 0xF5));
  QFont heading = platform::ResolveFont(kFontFace, kPointSize);
  heading.setBold(true);
  Picture1->setFont(heading);
  Picture3 = add<platform::PictureBox>(QStringLiteral("Picture3"));
  platform::PlaceInTwips(*Picture3, kMeaningBox);
  Picture3->setBackColor(QColor(0xFF, 0xFF, 0xE1));
  Picture3->setFont(platform::ResolveFont(kFontFace, kPointSize));

  Picture2->mouse().onClick = [this] { Picture2_Click(); };
  Picture1->mouse().onMouseDown = [this](int, int, double, double) { Picture1_MouseDown(); };
  Picture3->mouse().onMouseDown = [this](int, int, double, double) { Picture3_MouseDown(); };
  for (platform::PictureBox* box : {Picture1, Picture3}) {
    box->mouse().onMouseMove = [this](int, int, double, double) { drag_.follow(); };
    box->mouse().onMouseUp = [this](int, int, double, double) { drag_.finish(); };
  }
}

frmGetWord::~frmGetWord() = default;

void frmGetWord::Form_Load() {
  m_Grabber = std::make_unique<platform::WordGrabber>();
  m_Grabber->setGrabEnabled(true);
  m_Grabber->setGrabMode(platform::kGrabPrimarySelection);
  m_Grabber->setGrabDelay(kSelectionSettleTenths);
  std::int32_t cookie = 0;  // not needed: releasing the grabber ends the capture
  m_Grabber->AdviseGrab(this, cookie);

  trayIcon_.onMouseMessage = [this](int message) { Form_MouseMove(message); };
  trayIcon_.add(windowIcon(), (kTrayTip + LibraryName()).left(kTrayTipLength));
  platform::SetWindowPosTopmost(*this, 0, 0, width(), height(), false);
  DrawHint();
}

void frmGetWord::Form_Activate() { DrawHint(); }

void frmGetWord::Form_Unload() {
  m_Grabber.reset();
  trayIcon_.remove();
  if (returnToManager_) ReturnToLibraryManager();
}

void frmGetWord::DrawHint() {
  Picture1->cls();
  DrawRow(*Picture1,
          GetMessageText(kForm, QStringLiteral("Hint"), QStringLiteral("Select a word to look it up")), 0,
          kHintBottom);
}

std::int32_t frmGetWord::QueryWord(const QString& WordString, std::int32_t /*lCursorX*/, std::int32_t /*lCursorY*/,
                                   const QString& SentenceString, std::int32_t /*lLoc*/, std::int32_t /*lStart*/) {
  // The whole selection is looked up first ("e.g.", "C++"), then its first word.
  CaptureReady1(SentenceString.trimmed().isEmpty() ? WordString : SentenceString);
  return 0;
}

void frmGetWord::CaptureReady1(const QVariant& word) {
  const QString name = LibraryName();
  const SelectionMeaning found = LookUpSelection(g_LibraryFolder, name, word.toString());
  const QString& meaning = found.meaning;
  Picture1->cls();
  DrawRow(*Picture1, found.word, 0, kDrawBottom);

  const QFontMetrics metrics(Picture3->font(), &Picture3->image());
  m_Lines = BreakMeaningIntoRows(
      meaning, Picture3->twips().width() - kRowMarginTwips,
      [&metrics](const QString& row) { return platform::PixelsToTwips(metrics.horizontalAdvance(row)); }, name);

  const double pointSize = Picture3->font().pointSizeF();
  const int rows = static_cast<int>(m_Lines.size());
  Picture3->twips().setHeight(MeaningBoxHeightTwips(rows, pointSize));
  Picture3->cls();
  for (int row = 1; row <= rows; ++row)
    DrawRow(*Picture3, m_Lines[row - 1], MeaningRowTop(row, pointSize), kDrawBottom);

  ShowAtPlace(TwipsToPixelsHalfEven(Picture1->twips().height() + Picture3->twips().height()));
}

void frmGetWord::ShowAtPlace(int heightPixels) {
  // Every look-up shows in the top-left corner, where the learner knows to look, even after the
  // window was dragged elsewhere.
  if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
  platform::SetWindowPosTopmost(*this, 0, 0, kShownWidth, heightPixels, true);
}

void frmGetWord::Form_MouseMove(int message) {
  switch (message) {
    case platform::kTrayLeftButtonUp:
    case platform::kTrayLeftButtonDoubleClick:
      setWindowState(windowState() & ~Qt::WindowMinimized);
      show();
      platform::SetForegroundWindow(*this);
      break;
    case platform::kTrayRightButtonUp:
      platform::SetForegroundWindow(*this);
      frmSysMenuDict::instance().mnuSysTray->popup(platform::GetCursorPos());
      break;
    default:
      break;
  }
}

void frmGetWord::changeEvent(QEvent* event) {
  Form::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) Form_Resize();
}

void frmGetWord::Form_Resize() {
  // Without a tray there would be nothing to bring a hidden window back from.
  if (isMinimized() && trayIcon_.inTray()) hide();
}

void frmGetWord::Picture1_MouseDown() { drag_.start(); }
void frmGetWord::Picture3_MouseDown() { drag_.start(); }

void frmGetWord::Picture2_Click() { frmGetWord::unload(); }
