#pragma once
// Window effects of the word bar: translucency.

// The bar drawn fully opaque (alpha 255 of 255).
void MakeBarOpaque();
// The bar drawn translucent (alpha 100 of 255).
void MakeBarTranslucent();
// Alpha of the bar's window as 0..255, as last set.
int BarAlpha();
