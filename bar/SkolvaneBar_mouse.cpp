// The bar's mouse: a press on one of the four display boxes moves the bar; while the pointer
// rests on a box the word cycle pauses and, with the resize handle on, the word box leaves a strip
// of the bar window free at the right edge; a press on that strip and its release widen or narrow
// the bar by the distance moved. The bar's place and width are stored as they change.
#include "bar/SkolvaneBar.h"

#include "core/bar_fitting_bas.h"
#include "core/read_ini_bas.h"
#include "core/vars_bas.h"
#include "platform/dialogs/dialogs.h"
#include "platform/forms/mouse_capture.h"
#include "platform/forms/mouse_dispatch.h"
#include "platform/ini/ini.h"
#include "platform/window/window.h"

#include <QEnterEvent>
#include <QMouseEvent>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <utility>

namespace {

// The strip of the bar window the word box leaves free at the right edge while hovered.
constexpr double kResizeStripTwips = 90;
constexpr double kTwips = platform::kTwipsPerPixel;

double BarWidthTwips() { return g_WindowW * kTwips; }

long WriteBarPlaceValue(const QString& key, std::int32_t value) {
  g_IniValue = QString::number(value);
  return platform::WriteProfileString(LibrarySettingsFile(), g_ComputerSection, key, g_IniValue);
}

// Stores the bar's place as the window system has it, in this computer's section of the library
// settings file; the colour sample point follows. A failed write is shown; the place in memory
// stays as read from the window.
void StoreBarPlace(const QRect& frame) {
  g_WindowX = frame.left();
  g_WindowY = frame.top();
  g_ColorSampleX = g_WindowX;
  g_ColorSampleY = g_WindowY;
  const long xResult = WriteBarPlaceValue(QStringLiteral("WindowX"), g_WindowX);
  g_IniResult = WriteBarPlaceValue(QStringLiteral("WindowY"), g_WindowY);
  if (xResult == 0 || g_IniResult == 0) platform::MsgBox(QStringLiteral("Error!"));
}

// The width a resize by the right edge gives, pixels: the old width plus the distance moved,
// rounded (a half to even); never narrower than the status row's fixed boxes, never more than a
// width can hold.
std::int16_t ResizedWidth(std::int16_t width, double downXTwips, double upXTwips, double fixedBoxesTwips) {
  double resized = width + std::nearbyint((upXTwips - downXTwips) / kTwips);
  if (fixedBoxesTwips / kTwips > resized) resized = std::nearbyint(fixedBoxesTwips / kTwips);
  return static_cast<std::int16_t>(std::clamp(resized, 1.0, double{std::numeric_limits<std::int16_t>::max()}));
}

// Hands the pointer's entering a control to `onEnter`, with the point in the control's pixels. A
// pointer that comes onto the control in one motion (a jump, or resting where a menu over it
// closes) may bring no move of its own over it, and the hover pause must still begin.
class EnterForwarder : public QObject {
 public:
  EnterForwarder(QWidget& control, std::function<void(QPointF)> onEnter)
      : QObject(&control), onEnter_(std::move(onEnter)) {
    control.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Enter) onEnter_(static_cast<QEnterEvent*>(event)->position());
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void(QPointF)> onEnter_;
};

}  // namespace

void SkolvaneBar::ConnectMouseHandlers() {
  Timer1->onTimer = [this] { Timer1_Timer(); };
  setMouseTracking(true);
  for (platform::PictureBox* box : {Pic_ShowText, Pic_ShowPhonetic, Pic_ShowLongMeaning, Pic_ShowPicture}) {
    box->setMouseTracking(true);  // the hover pause needs the moves without a button held
    auto& mouse = box->mouse();
    mouse.onMouseDown = [this, box](int button, int shift, double x, double y) {
      DisplayBox_MouseDown(*box, button, shift, x, y);
    };
    mouse.onMouseMove = [this, box](int button, int shift, double x, double y) {
      DisplayBox_MouseMove(*box, button, shift, x, y);
    };
    mouse.onMouseUp = [this, box](int button, int shift, double x, double y) {
      DisplayBox_MouseUp(*box, button, shift, x, y);
    };
    // Entering the box counts as a move onto it (the move handler reads only the point).
    new EnterForwarder(*box, [this, box](QPointF point) {  // owned by the box
      DisplayBox_MouseMove(*box, 0, 0, point.x(), point.y());
    });
  }
  // Without a tray icon the right button opens the tray menu from anywhere on the bar.
  const auto menuFallback = [this](int button, int, double, double) {
    if (button == platform::kRightButton && !SysTray.bRunningInTray()) PopTrayMenu();
  };
  for (platform::PictureBox* box : {Pic_percent, Pic_Hourglass, Pic_SegNo, Pic_Pos, logo[0]})
    box->mouse().onMouseUp = menuFallback;
  for (platform::PictureBox* box : Pic_Speak) box->mouse().onMouseUp = menuFallback;
  for (platform::Label* label : {Lbl_SysInfo, Lbl_Counter}) label->mouse().onMouseUp = menuFallback;
}

void SkolvaneBar::DisplayBox_MouseDown(platform::PictureBox& /*box*/, int button, int, double, double) {
  if (button == platform::kRightButton && !SysTray.bRunningInTray()) return;  // its release opens the menu
  g_IsDragging = true;
  Timer1->setEnabled(true);
  platform::ReleaseCapture();
  drag_.start();
}

void SkolvaneBar::Timer1_Timer() {
  if (!g_IsDragging || !drag_.follow()) {
    // The buttons are up: the move is over. Its place is stored when the pointer leaves the box.
    Timer1->setEnabled(false);
  }
  const QRect frame = platform::GetWindowRect(*this);
  g_WindowX = frame.left();
  g_WindowY = frame.top();
  g_ColorSampleX = g_WindowX;
  g_ColorSampleY = g_WindowY;
}

void SkolvaneBar::DisplayBox_MouseUp(platform::PictureBox& box, int button, int shift, double x, double y) {
  if (drag_.following()) {
    drag_.finish();
    Timer1_Timer();
  }
  if (button == platform::kRightButton && !SysTray.bRunningInTray()) {
    PopTrayMenu();
    return;
  }
  // The pointer may leave at once: the box takes the capture (or ends the move) from here.
  if (g_IsDragging) DisplayBox_MouseMove(box, 0, shift, x, y);
}

void SkolvaneBar::DisplayBox_MouseMove(platform::PictureBox& box, int, int, double x, double y) {
  if (drag_.following()) return;  // the bar moves under the pointer; the release decides
  if (&box == Pic_ShowPicture) box.setCursor(Qt::ArrowCursor);

  auto& text = Pic_ShowText->twips();
  auto& hourglass = Pic_Hourglass->twips();
  auto& percent = Pic_percent->twips();
  const double width = BarWidthTwips();
  const bool inside = x >= 0 && x <= g_WindowW && y >= 0 && y <= box.twips().height() / kTwips - 1;

  if (inside) {
    text.setWidth(g_ShowResize ? width - kResizeStripTwips : width);
    const double right = g_ShowResize ? text.width() : width;
    if (g_ShowProgress) {
      hourglass.setLeft(right - hourglass.width() - percent.width());
      if (g_ShowResize) percent.setLeft(hourglass.left() + hourglass.width());
    } else {
      hourglass.setLeft(right - hourglass.width());
    }
    if (g_ShowHour) Pic_Hourglass->setVisible(true);
    Tim_Wait->setEnabled(false);
    platform::SetCapture(box);
    return;
  }

  if (g_IsDragging) {
    g_IsDragging = false;
    Timer1->setEnabled(false);
    StoreBarPlace(platform::GetWindowRect(*this));
  }
  text.setWidth(width);
  percent.setLeft(width - percent.width());
  if (g_Wait) {
    Pic_Hourglass->setVisible(g_ShowHour);
    if (g_ShowHour) hourglass.setLeft(width - hourglass.width() - percent.width());
  } else {
    Tim_Wait->setEnabled(true);
    Pic_Hourglass->setVisible(false);
  }
  platform::ReleaseCapture();
}

void SkolvaneBar::Form_MouseDown(int, int, double pressX, double) { g_MouseDownX = pressX; }

void SkolvaneBar::Form_MouseUp(int, int, double releaseX, double) {
  g_MouseUpX = releaseX;
  const double fixedBoxes = logo[0]->twips().width() + Pic_SegNo->twips().width() + Lbl_Counter->twips().width();
  g_WindowW = ResizedWidth(g_WindowW, g_MouseDownX, g_MouseUpX, fixedBoxes);

  g_IniValue = QString::number(g_WindowW);
  g_IniResult = platform::WriteProfileString(LibrarySettingsFile(), QStringLiteral("Normal"), QStringLiteral("WindowW"),
                                             g_IniValue);

  AdjustObjects();
  g_StatusRows = g_ShowStatus ? 1 : 0;
  FitBarInPlace();
  if (!g_SegmentRebuilt) {
    auto& hourglass = Pic_Hourglass->twips();
    hourglass.setLeft(BarWidthTwips() - hourglass.width() - kResizeStripTwips);
  }
}

void SkolvaneBar::mousePressEvent(QMouseEvent* event) {
  // Only a press on the window itself counts: the controls take their own presses.
  const QPointF point = event->position();
  pressedOnWindow_ = childAt(point.toPoint()) == nullptr;
  if (pressedOnWindow_)
    Form_MouseDown(platform::ButtonOf(*event), platform::ShiftOf(*event), point.x() * kTwips, point.y() * kTwips);
}

void SkolvaneBar::mouseReleaseEvent(QMouseEvent* event) {
  const bool onWindow = std::exchange(pressedOnWindow_, false);
  const int button = platform::ButtonOf(*event);
  if (button == platform::kRightButton && !SysTray.bRunningInTray()) {
    PopTrayMenu();
    return;
  }
  const QPointF point = event->position();
  if (onWindow) Form_MouseUp(button, platform::ShiftOf(*event), point.x() * kTwips, point.y() * kTwips);
}
