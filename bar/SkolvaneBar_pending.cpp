// Procedures of the bar whose behaviour is still being built; each moves to its own file.
#include "bar/SkolvaneBar.h"

void SkolvaneBar::font_adjust() {}
void SkolvaneBar::paint_pos() {}
void SkolvaneBar::AdjustObjects() {}
void SkolvaneBar::runtimer() {}
void SkolvaneBar::Form_Load() {}
void SkolvaneBar::Form_Activate() {}
void SkolvaneBar::Form_Unload() {}
