// The tray menu's display items: what the bar shows (the Show submenu's toggles, written as
// data), the check of the picture item when the Show submenu opens, the game item's state when
// the Type submenu opens, and centring the bar on its screen.
#include "bar/SkolvaneBar.h"
#include "bar/frmSysMenu.h"
#include "bar/menu_settings_write.h"
#include "core/bar_fitting_bas.h"
#include "core/read_ini_bas.h"
#include "core/vars_bas.h"
#include "core/word_pictures_bas.h"

#include <QFileInfo>
#include <QScreen>

#include <cmath>

namespace {

using Member = frmSysMenu::Item frmSysMenu::*;

void LayOutAndFit(SkolvaneBar& bar, bool) {
  bar.AdjustObjects();
  FitBarToRows();
}

// A row shown again takes the word row's colours, which may have changed while it was off.
void ShowRow(SkolvaneBar& bar, bool on) {
  if (on) frmSysMenu::CopyWordRowColours(bar);
  LayOutAndFit(bar, on);
}

struct ShowToggle {
  Member item;
  bool* flag;
  const char* key;
  void (*extra)(SkolvaneBar& bar, bool on);  // what the bar does about it (nullptr: the next layout applies it)
};

const ShowToggle kShowToggles[] = {
    {&frmSysMenu::mnuSysTrayShowMain, &g_ShowMain, "WordShowMain",
     [](SkolvaneBar& bar, bool) { bar.setVisible(bar.VisibleBySettings()); }},
    {&frmSysMenu::mnuSysTrayShowStatus, &g_ShowStatus, "WordShowStatus",
     [](SkolvaneBar& bar, bool on) {
       g_StatusRows = on ? 1 : 0;
       if (on) bar.show();
       FitBarToRows();
     }},
    {&frmSysMenu::mnuSysTrayShowHour, &g_ShowHour, "WordShowHour", nullptr},
    {&frmSysMenu::mnuSysTrayShowResize, &g_ShowResize, "WordShowResize", nullptr},
    {&frmSysMenu::mnuSysTrayShowProgress, &g_ShowProgress, "WordShowProgress",
     [](SkolvaneBar& bar, bool on) {
       bar.Pic_percent->setVisible(on);
       bar.Pic_Pos->setVisible(on);
       bar.AdjustObjects();
     }},
    {&frmSysMenu::mnuSysTrayShowSegNo, &g_ShowSegNo, "WordShowSegNo",
     [](SkolvaneBar& bar, bool on) {
       bar.Pic_SegNo->setVisible(on);
       bar.AdjustObjects();
     }},
    {&frmSysMenu::mnuSysTrayShowCounter, &g_ShowCounter, "WordShowCounter",
     [](SkolvaneBar& bar, bool on) {
       bar.Lbl_Counter->setVisible(on);
       bar.AdjustObjects();
     }},
    {&frmSysMenu::mnuSysTrayShowPhonetic, &g_ShowPhonetic, "WordShowPhonetic", ShowRow},
    {&frmSysMenu::mnuSysTrayShowLongMeaning, &g_ShowLongMeaning, "WordShowLongMeaning", ShowRow},
    {&frmSysMenu::mnuSysTrayShowPicture, &g_ShowPicture, "WordShowPicture", LayOutAndFit},
};

// Rounds to the nearest whole pixel, a half to the even neighbour.
int RoundPixels(double value) { return static_cast<int>(std::nearbyint(value)); }

}  // namespace

void frmSysMenu::ShowToggle_Click() {
  for (const ShowToggle& toggle : kShowToggles) {
    if (this->*toggle.item != clickedItem_) continue;
    const bool on = !*toggle.flag;
    *toggle.flag = on;
    clickedItem_->setChecked(on);
    WriteMenuSetting(QString::fromUtf8(toggle.key), on ? QStringLiteral("X") : QString());
    if (toggle.extra != nullptr && SkolvaneBar::loaded()) toggle.extra(SkolvaneBar::instance(), on);
    return;
  }
}

void frmSysMenu::mnuSysTrayShow_Click() {
  // A library without a cover has nothing for the picture row to show. A cover added later
  // changes nothing here: the next settings load offers the row again.
  const QString cover = WordPictureFolder() + QStringLiteral("00.Cover.jpg");
  if (QFileInfo(cover).isFile()) return;
  mnuSysTrayShowPicture->setChecked(false);
  mnuSysTrayShowPicture->setEnabled(false);
  g_ShowPicture = false;
  WriteMenuSetting(QStringLiteral("WordShowPicture"), QString());
}

void frmSysMenu::mnuSysTrayType_Click() { ShowSegmentMode(); }

void frmSysMenu::mnuSysTrayShowMainCenter_Click() {
  if (!SkolvaneBar::loaded()) return;
  SkolvaneBar& bar = SkolvaneBar::instance();
  // Centred by the height the bar takes when fitted to its rows, on the screen it is on.
  g_StatusRows = g_ShowStatus ? 1 : 0;
  const int height = BarHeightPixels(CurrentBarRows());
  const QScreen* screen = bar.screen();
  const QRect area = screen != nullptr ? screen->geometry() : QRect(QPoint(0, 0), ScreenPixels());
  g_WindowX = area.x() + RoundPixels((area.width() - g_WindowW) / 2.0);
  g_WindowY = area.y() + RoundPixels((area.height() - height) / 2.0);
  WriteBarPlaceSetting(QStringLiteral("WindowX"), QString::number(g_WindowX));
  WriteBarPlaceSetting(QStringLiteral("WindowY"), QString::number(g_WindowY));
  g_ColorSampleX = g_WindowX;
  g_ColorSampleY = g_WindowY;
  FitBarToRows();
}
