// The bar's layout: every box and label placed from the bar width, the show settings and the
// word font; and the choice of the word font.
#include "bar/SkolvaneBar.h"

#include "core/bar_fitting_bas.h"
#include "core/read_ini_bas.h"
#include "core/row_heights_bas.h"
#include "core/settings_load_bas.h"
#include "core/vars_bas.h"
#include "core/word_pictures_bas.h"
#include "platform/dialogs/dialogs.h"
#include "platform/fonts/font_mapping.h"
#include "platform/ini/ini.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <optional>

namespace {

// The font dialog offers sizes from 8 to 72 points.
constexpr double kSmallestFontPoints = 8;
constexpr double kLargestFontPoints = 72;
// At the right edge of the word row this much of the bar window itself stays uncovered: the
// resize by the right edge is taken there, and the sound indicators keep clear of it.
constexpr double kResizeEdgeTwips = 90;
// The icons sit this much above the middle of the word row.
constexpr double kIconRaiseTwips = 10;
// The progress strip starts one pixel below the percentage box.
constexpr double kProgressGapTwips = 15;

// "0000" formatting of the position shown in the progress strip's tool tip.
QString FourDigits(int value) {
  const QString digits = QStringLiteral("%1").arg(std::abs(value), 4, 10, QLatin1Char('0'));
  return value < 0 ? QStringLiteral("-") + digits : digits;
}

// The shortest decimal text of the size as a single-precision number ("12", "10.5").
QString SizeText(double points) {
  char buffer[32];
  const auto result = std::to_chars(std::begin(buffer), std::end(buffer), static_cast<float>(points));
  return QString::fromLatin1(buffer, result.ptr - buffer);
}

// The chosen size in points. A font given in pixels is converted at the bar's resolution.
double ChosenPoints(const QFont& chosen, const QWidget& bar) {
  double points = chosen.pointSizeF();
  if (points <= 0 && chosen.pixelSize() > 0) points = chosen.pixelSize() * 72.0 / bar.logicalDpiY();
  return std::clamp(points, kSmallestFontPoints, kLargestFontPoints);
}

}  // namespace

void SkolvaneBar::AdjustObjects() {
  const double width = static_cast<double>(g_WindowW) * platform::kTwipsPerPixel;
  double y = 0;

  if (g_ShowPicture) {
    Pic_ShowPicture->setVisible(true);
    const double coverHeight = ShowLibraryCover();
    Pic_ShowPicture->twips().move(0, y, width, coverHeight);
    y = coverHeight;
  } else {
    Pic_ShowPicture->setVisible(false);
  }

  g_StatusRows = g_ShowStatus ? 1 : 0;

  // Too narrow for the status row's fixed boxes: the rows keep their last layout.
  const double statusFixedWidth = Pic_SegNo->twips().width() + logo[0]->twips().width() + Lbl_Counter->twips().width();
  if (g_WindowW < statusFixedWidth / platform::kTwipsPerPixel) return;

  auto& text = Pic_ShowText->twips();
  text.setWidth(width);
  text.setHeight(g_TextBoxHeight);

  Pic_ShowLongMeaning->twips().setHeight(MeaningBoxTwips(Pic_ShowText->font().pointSizeF()));

  if (g_ShowPhonetic) {
    Pic_ShowPhonetic->setVisible(true);
    Pic_ShowPhonetic->twips().move(0, y, text.width(), text.height() / 2);
    text.setTop(y + Pic_ShowPhonetic->twips().height());
  } else {
    Pic_ShowPhonetic->setVisible(false);
    text.setTop(y);
  }

  auto& hourglass = Pic_Hourglass->twips();
  auto& percent = Pic_percent->twips();
  hourglass.setTop((text.height() - hourglass.height()) / 2 + text.top() - kIconRaiseTwips);
  percent.setTop(text.top());

  if (g_ShowResize) text.setWidth(width - kResizeEdgeTwips);

  if (g_ShowProgress) percent.setLeft(width - percent.width());

  if (g_Wait && g_ShowHour) {
    Pic_Hourglass->setVisible(true);
    hourglass.setLeft(g_ShowProgress ? width - percent.width() - hourglass.width() : width - hourglass.width());
  } else {
    Pic_Hourglass->setVisible(false);
  }

  for (platform::PictureBox* speak : Pic_Speak) {
    auto& icon = speak->twips();
    icon.setTop(text.top() + (text.height() - icon.height()) / 2 - kIconRaiseTwips);
    icon.setLeft(text.width() - icon.width() - kResizeEdgeTwips);
  }

  double statusTop = text.top() + text.height();
  if (g_ShowLongMeaning) {
    Pic_ShowLongMeaning->setVisible(true);
    Pic_ShowLongMeaning->twips().move(0, text.top() + text.height(), width, Pic_ShowLongMeaning->twips().height());
    // The status row starts on the whole pixel where the bar's height ends the rows above it: the
    // meaning rows taken down to a whole pixel, the sum to the nearest one (a half to even), as
    // the fitting counts them. Taking the sum down instead could start it a pixel inside the
    // meaning box, over the meaning text, and leave a seam between it and the window's bottom.
    constexpr double kPixel = platform::kTwipsPerPixel;
    const double meaning = text.height() * g_MeaningBarPercent / 100 * MeaningRowCount();
    statusTop = std::nearbyint((statusTop + std::floor(meaning / kPixel) * kPixel) / kPixel) * kPixel;
  } else {
    Pic_ShowLongMeaning->setVisible(false);
  }
  auto& logoBox = logo[0]->twips();
  logoBox.setTop(statusTop);

  Lbl_SysInfo->twips().setTop(logoBox.top());
  Pic_SegNo->twips().setTop(logoBox.top());
  Lbl_Counter->twips().setTop(logoBox.top());
  logoBox.setLeft(0);
  Lbl_SysInfo->twips().setLeft(logoBox.width());
  Lbl_SysInfo->twips().setWidth(width - logoBox.width());

  auto& counter = Lbl_Counter->twips();
  if (g_ShowCounter) counter.setLeft(width - counter.width());

  auto& segNo = Pic_SegNo->twips();
  if (g_ShowSegNo) {
    Pic_SegNo->setVisible(true);
    if (g_DoSegment) segNo.setLeft(g_ShowCounter ? counter.left() - segNo.width() : width - segNo.width());
  } else {
    Pic_SegNo->setVisible(false);
  }
  if (!g_DoSegment) Pic_SegNo->setVisible(false);

  // Hiding the strip and the percentage box is the menu item's business, not the layout's.
  if (g_ShowProgress) {
    Pic_Pos->setVisible(true);
    Pic_percent->setVisible(true);
    percent.setHeight(text.height());
    Pic_Pos->twips().setTop(Lbl_SysInfo->twips().top() + percent.height() + kProgressGapTwips);
    Pic_Pos->setToolTip(FourDigits(g_CyclePos));
  }
}

void SkolvaneBar::font_adjust() {
  platform::PictureBox& word = *Pic_ShowText;
  const std::optional<QFont> chosen = platform::Dialogs().chooseFont(word.font());
  if (!chosen) return;

  // The size is taken in points as chosen; the face name is kept as the dialog names it, and
  // the box renders it through installed families.
  const double points = ChosenPoints(*chosen, *this);
  QFont font = platform::ResolveFont(chosen->family(), points);
  font.setItalic(chosen->italic());
  font.setStrikeOut(chosen->strikeOut());
  font.setUnderline(chosen->underline());
  font.setWeight(chosen->weight());
  word.setFont(font);

  const QString value = word.font().family() + QLatin1Char(';') + QString::number(word.fontCharset()) +
                        QLatin1Char(':') + SizeText(word.font().pointSizeF());

  word.twips().setHeight(TextRowTwips(word.font().pointSizeF()));
  g_TextBoxHeight = static_cast<int>(std::lround(word.twips().height()));

  g_IniValue = value;
  g_IniResult = platform::WriteProfileString(LibrarySettingsFile(), QStringLiteral("Normal"), QStringLiteral("WordFont"), g_IniValue);
  g_FontSpec = value;

  DeriveMeaningAndPhoneticFonts();
  AdjustObjects();

  g_StatusRows = g_ShowStatus ? 1 : 0;
  FitBarInPlace();
}
