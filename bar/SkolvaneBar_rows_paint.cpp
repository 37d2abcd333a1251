// Redraw of the phonetic and meaning rows when their boxes are shown again.
#include "bar/SkolvaneBar.h"

#include "core/text_drawing_bas.h"
#include "core/vars_bas.h"

void SkolvaneBar::Pic_ShowPhonetic_Paint() {
  if (g_ShowPhonetic) DrawPhoneticText();
}

void SkolvaneBar::Pic_ShowLongMeaning_Paint() {
  if (g_ShowLongMeaning) DrawMeaningText(ExtractMeaningKeyword(g_CurrentText), QStringLiteral("U"));
}
