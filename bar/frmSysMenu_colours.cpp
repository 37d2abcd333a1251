// The tray menu's colour items: the text and back colours from the colour dialog, the chameleon
// mode (the rows take the screen's colour under the bar) and the translucent bar.
//
// The two effects exclude each other: switching one on ends the other (its value, stored key and
// working), and a colour choice ends the chameleon, whose next sample would paint over the chosen
// colour. So every check mark shows an effect that works, and the colour submenu's caption names
// the one effect that is on.
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

std::optional<QColor> frmSysMenu::ChooseColour() {
  platform::CustomColors offered = customColors_;  // the learner's changes die with this copy
  return platform::Dialogs().chooseColor(offered);
}

void frmSysMenu::ApplyChosenColour(const QColor& colour, std::int32_t& global, const QString& key,
                                   void (platform::PictureBox::*setColour)(const QColor&)) {
  if (SkolvaneBar::loaded()) {
    SkolvaneBar& bar = SkolvaneBar::instance();
    (bar.Pic_ShowText->*setColour)(colour);
    CopyWordRowColours(bar);
  }
  global = platform::ToWinColor(colour);
  WriteMenuSetting(key, StoredColour(global));
  if (g_ColorNull) {
    EndColourFollow();
    mnuSysTrayColor->setCaption(GetMenuText("mnuSysTrayColor"));
  }
}

void frmSysMenu::mnuSysTrayColorF_Click() {
  if (const std::optional<QColor> chosen = ChooseColour()) {
    ApplyChosenColour(*chosen, g_ForeColor, QStringLiteral("WordForeColor"), &platform::PictureBox::setForeColor);
  }
}

void frmSysMenu::mnuSysTrayColorB_Click() {
  if (const std::optional<QColor> chosen = ChooseColour()) {
    ApplyChosenColour(*chosen, g_BackColor, QStringLiteral("WordBackColor"), &platform::PictureBox::setBackColor);
  }
}

void frmSysMenu::EndColourFollow() {
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
}

void frmSysMenu::EndTranslucency() {
  g_Transparent = false;
  if (SkolvaneBar::loaded()) MakeBarOpaque();
  mnuSysTrayColorTrans->setChecked(false);
  WriteMenuSetting(QStringLiteral("WordTransparent"), QString());
}

void frmSysMenu::mnuSysTrayColorNull_Click() {
  if (mnuSysTrayColorNull->checked()) {
    EndColourFollow();
    mnuSysTrayColor->setCaption(GetMenuText("mnuSysTrayColor"));
    return;
  }
  if (g_Transparent) EndTranslucency();
  g_ColorNull = true;
  GetScreenPixel();
  mnuSysTrayColorNull->setChecked(true);
  WriteMenuSetting(QStringLiteral("WordColorNull"), kFlagOn);
  mnuSysTrayColor->setCaption(GetMenuText("mnuSysTrayColor_A"));
}

void frmSysMenu::mnuSysTrayColorTrans_Click() {
  if (mnuSysTrayColorTrans->checked()) {
    EndTranslucency();
    mnuSysTrayColor->setCaption(GetMenuText("mnuSysTrayColor"));
    return;
  }
  if (g_ColorNull) EndColourFollow();
  g_Transparent = true;
  if (SkolvaneBar::loaded()) MakeBarTranslucent();
  mnuSysTrayColorTrans->setChecked(true);
  WriteMenuSetting(QStringLiteral("WordTransparent"), kFlagOn);
  mnuSysTrayColor->setCaption(GetMenuText("mnuSysTrayColor_B"));
}
