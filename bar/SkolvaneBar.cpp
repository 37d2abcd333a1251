#include "bar/SkolvaneBar.h"

#include "platform/files/picture_file.h"
#include "platform/window/window.h"

#include <QColor>

namespace {

// Design sizes of the fixed boxes, in twips (15 to a pixel).
constexpr double kStatusRowHeight = 195;  // 13 pixels
constexpr double kSegNoWidth = 600;
constexpr double kLogoWidth = 240;
constexpr double kCounterWidth = 480;
constexpr double kPercentWidth = 600;
constexpr double kIconSize = 240;
constexpr double kPosHeight = 45;
constexpr double kDesignWidth = 6480;  // 432 pixels
constexpr double kDesignTextHeight = 360;

}  // namespace

SkolvaneBar::SkolvaneBar() : Form("SkolvaneBar") {
  Pic_ShowPicture = add<platform::PictureBox>("Pic_ShowPicture");
  Pic_ShowPhonetic = add<platform::PictureBox>("Pic_ShowPhonetic");
  Pic_ShowText = add<platform::PictureBox>("Pic_ShowText");
  Pic_ShowLongMeaning = add<platform::PictureBox>("Pic_ShowLongMeaning");
  Pic_percent = add<platform::PictureBox>("Pic_percent");
  Pic_Hourglass = add<platform::PictureBox>("Pic_Hourglass");
  for (int i = 0; i < static_cast<int>(Pic_Speak.size()); ++i) Pic_Speak[i] = addIndexed<platform::PictureBox>("Pic_Speak", i);
  logo[0] = addIndexed<platform::PictureBox>("logo", 0);
  Lbl_SysInfo = add<platform::Label>("Lbl_SysInfo");
  Pic_SegNo = add<platform::PictureBox>("Pic_SegNo");
  Lbl_Counter = add<platform::Label>("Lbl_Counter");
  Pic_Pos = add<platform::PictureBox>("Pic_Pos");

  Pic_ShowText->onPaint = [this] { Pic_ShowText_Paint(); };
  Pic_SegNo->onPaint = [this] { Pic_SegNo_Paint(); };
  Pic_percent->onPaint = [this] { Pic_percent_Paint(); };
  Pic_percent->setPaintOnResize(true);  // the fill is drawn for the box's height
  Pic_Pos->onPaint = [this] { Pic_Pos_Paint(); };
  Pic_ShowPhonetic->onPaint = [this] { Pic_ShowPhonetic_Paint(); };
  Pic_ShowLongMeaning->onPaint = [this] { Pic_ShowLongMeaning_Paint(); };

  Tim_Wait = add<platform::Timer>("Tim_Wait");
  Tim_Wait->onTimer = [this] { Tim_Wait_Timer(); };
  Tim_Wait->setInterval(2000);
  Tim_Chk_Speaking = add<platform::Timer>("Tim_Chk_Speaking");
  Tim_Chk_Speaking->onTimer = [this] { Tim_Chk_Speaking_Timer(); };
  Tim_Chk_Speaking->setInterval(100);
  Tim_Chk_Speaking->setEnabled(true);
  Tim_KeyHook = add<platform::Timer>("Tim_KeyHook");
  Tim_KeyHook->setInterval(10);
  Tim_KeyHook->onTimer = [this] { Tim_KeyHook_Timer(); };
  Timer1 = add<platform::Timer>("Timer1");
  Timer1->setInterval(1);  // enabled only while a move is followed
  MWheel1 = add<MWheel>("MWheel1");
  MWheel1->WheelScroll = [this](std::int16_t, std::int16_t zDelta, float, float) { MWheel1_WheelScroll(zDelta); };
  ConnectMouseHandlers();

  platform::MakeTopmostToolWindow(*this);

  // The bar is a stack of rows that meet on whole pixels, whatever their heights in twips.
  for (QObject* control : controls()) {
    if (auto* box = qobject_cast<platform::PictureBox*>(control)) box->twips().setRoundEdges(true);
    if (auto* label = qobject_cast<platform::Label*>(control)) label->twips().setRoundEdges(true);
  }

  // Design geometry; the layout procedure places the rows from the settings.
  resize(static_cast<int>(kDesignWidth / platform::kTwipsPerPixel), 60);
  Pic_ShowText->twips().move(0, 0, kDesignWidth, kDesignTextHeight);
  Pic_ShowPhonetic->twips().move(0, 0, kDesignWidth, kDesignTextHeight / 2);
  Pic_ShowLongMeaning->twips().move(0, kDesignTextHeight, kDesignWidth, kDesignTextHeight / 2);
  Pic_ShowPicture->twips().move(0, 0, kDesignWidth, 0);
  Pic_percent->twips().move(kDesignWidth - kPercentWidth, 0, kPercentWidth, kDesignTextHeight);
  Pic_Hourglass->twips().move(kDesignWidth - kPercentWidth - kIconSize, 60, kIconSize, kIconSize);
  for (auto* speak : Pic_Speak) {
    speak->twips().move(kDesignWidth - kIconSize - 90, 60, kIconSize, kIconSize);
    speak->setVisible(false);  // no picture to show: a blank box would stand out on a coloured row
  }
  logo[0]->twips().move(0, kDesignTextHeight, kLogoWidth, kStatusRowHeight);
  Lbl_SysInfo->twips().move(kLogoWidth, kDesignTextHeight, kDesignWidth - kLogoWidth, kStatusRowHeight);
  Pic_SegNo->twips().move(kDesignWidth - kCounterWidth - kSegNoWidth, kDesignTextHeight, kSegNoWidth, kStatusRowHeight);
  Lbl_Counter->twips().move(kDesignWidth - kCounterWidth, kDesignTextHeight, kCounterWidth, kStatusRowHeight);
  Pic_Pos->twips().move(0, kDesignTextHeight + kStatusRowHeight, kDesignWidth, kPosHeight);
  Lbl_Counter->setCaption("0000");
  Lbl_Counter->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  Pic_Pos->setBackColor(QColor(0xE0, 0xE0, 0xE0));
  Pic_Hourglass->setPicture(platform::ReadProgramPicture(QStringLiteral("SkolvaneBar_Hourglass.png")));
  // The status row is of one colour: the logo stands on it, which shows through the picture's
  // clear parts (and alone, should the picture be missing), and so does the segment number.
  const QColor statusRow = Lbl_SysInfo->palette().color(QPalette::Window);
  logo[0]->setBackColor(statusRow);
  Pic_SegNo->setBackColor(statusRow);
  logo[0]->setPicture(platform::ReadProgramPicture(QStringLiteral("SkolvaneBar_Logo.png")));
}

SkolvaneBar::~SkolvaneBar() = default;
