// The tray menu's colour items: the text and back colours from the colour dialog, the chameleon
// mode (the rows take the screen's colour under the bar) and the translucent bar.
//
// The two effects touch each other's check mark only: choosing a colour clears the chameleon's
// check, switching the chameleon on clears the translucency's, and switching translucency on
// clears the chameleon's; the other effect's value, stored key and working stay as they are.
#include "bar/SkolvaneBar.h"
#include "bar/frmSysMenu.h"
#include "bar/menu_settings_write.h"
#include "core/language_bas.h"
#include "core/vars_bas.h"
#include "core/window_effects_bas.h"
#include "platform/forms/win_color.h"

namespace {

const QString kFlagOn = QStringLiteral("X");

// Colours are stored with a sign position: a blank, then the decimal digits (" 16777215").
QString StoredColour(std::int32_t colour) { return QStringLiteral(" ") + QString::number(colour); }

}  // namespace

void frmSysMenu::CopyWordRowColours(SkolvaneBar& bar) {
  for (platform::PictureBox* box : {bar.Pic_ShowPhonetic, bar.Pic_ShowLongMeaning}) {
    box->setBackColor(bar.Pic_ShowText->backColor());
    box->setForeColor(bar.Pic_ShowText->foreColor());
  }
}

std::optional<QColor> frmSysMenu::ChooseColour() { return platform::Dialogs().chooseColor(customColors_); }

void frmSysMenu::mnuSysTrayColorF_Click() {
  const std::optional<QColor> chosen = ChooseColour();
  if (!chosen) return;
  if (SkolvaneBar::loaded()) {
    SkolvaneBar& bar = SkolvaneBar::instance();
    bar.Pic_ShowText->setForeColor(*chosen);
    CopyWordRowColours(bar);
  }
  g_ForeColor = platform::ToWinColor(*chosen);
  WriteMenuSetting(QStringLiteral("WordForeColor"), StoredColour(g_ForeColor));
  mnuSysTrayColorNull->setChecked(false);
}

void frmSysMenu::mnuSysTrayColorB_Click() {
  const std::optional<QColor> chosen = ChooseColour();
  if (!chosen) return;
  if (SkolvaneBar::loaded()) {
    SkolvaneBar& bar = SkolvaneBar::instance();
    bar.Pic_ShowText->setBackColor(*chosen);
    CopyWordRowColours(bar);
  }
  g_BackColor = platform::ToWinColor(*chosen);
  WriteMenuSetting(QStringLiteral("WordBackColor"), StoredColour(g_BackColor));
  mnuSysTrayColorNull->setChecked(false);
}

void frmSysMenu::mnuSysTrayColorNull_Click() {
  if (mnuSysTrayColorNull->checked()) {
    mnuSysTrayColorNull->setChecked(false);
    g_ColorNull = false;
    WriteMenuSetting(QStringLiteral("WordColorNull"), QString());
    // Back to the colours last chosen or loaded, not those of the screen.
    if (SkolvaneBar::loaded()) {
      SkolvaneBar& bar = SkolvaneBar::instance();
      bar.Pic_ShowText->setBackColor(platform::FromWinColor(g_BackColor));
      bar.Pic_ShowText->setForeColor(platform::FromWinColor(g_ForeColor));
      CopyWordRowColours(bar);
    }
    mnuSysTrayColor->setCaption(GetMenuText("mnuSysTrayColor"));
    return;
  }
  g_ColorNull = true;
  GetScreenPixel();
  mnuSysTrayColorNull->setChecked(true);
  mnuSysTrayColorTrans->setChecked(false);
  WriteMenuSetting(QStringLiteral("WordColorNull"), kFlagOn);
  mnuSysTrayColor->setCaption(GetMenuText("mnuSysTrayColor_A"));
}

void frmSysMenu::mnuSysTrayColorTrans_Click() {
  if (mnuSysTrayColorTrans->checked()) {
    g_Transparent = false;
    if (SkolvaneBar::loaded()) MakeBarOpaque();
    mnuSysTrayColorTrans->setChecked(false);
    WriteMenuSetting(QStringLiteral("WordTransparent"), QString());
    mnuSysTrayColor->setCaption(GetMenuText("mnuSysTrayColor"));
    return;
  }
  g_Transparent = true;
  if (SkolvaneBar::loaded()) MakeBarTranslucent();
  mnuSysTrayColorTrans->setChecked(true);
  mnuSysTrayColorNull->setChecked(false);
  WriteMenuSetting(QStringLiteral("WordTransparent"), kFlagOn);
  mnuSysTrayColor->setCaption(GetMenuText("mnuSysTrayColor_B"));
}
