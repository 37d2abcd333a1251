#pragma once
// Window effects of the word bar: translucency, and the colour-follow mode in which the three
// text rows take the colour of the screen just beside the bar, with a text colour that contrasts
// with it.

#include <QColor>

#include <cstdint>
#include <optional>

// The bar drawn fully opaque (alpha 255 of 255).
void MakeBarOpaque();
// The bar drawn translucent (alpha 100 of 255).
void MakeBarTranslucent();
// Alpha of the bar's window as 0..255, as last set.
int BarAlpha();

// The colours the text rows take for a sampled screen colour (0x00BBGGRR): the colour itself as
// the back colour, and per channel 255 below 127 and 0 from 127 on as the text colour. None for
// a value that is no colour (the sample could not be read).
struct SampleColours {
  QColor back;
  QColor text;
};
std::optional<SampleColours> ColoursForSample(std::int32_t sample);

// In colour-follow mode (g_ColorNull), recolours the word, phonetic and meaning rows from the
// screen pixel one left of the bar's left edge and one below its top (g_ColorSampleX - 1,
// g_ColorSampleY + 1). A point off the screen leaves the colours as they are.
void GetScreenPixel();
