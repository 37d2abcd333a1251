#include "core/window_effects_bas.h"

#include "bar/SkolvaneBar.h"
#include "core/vars_bas.h"
#include "platform/forms/win_color.h"
#include "platform/window/opacity.h"
#include "platform/window/screen_pixel.h"

namespace {

constexpr int kTranslucentAlpha = 100;
// A channel below this is dark: its text channel is full.
constexpr int kDarkBelow = 127;

int Contrast(int channel) { return channel < kDarkBelow ? 255 : 0; }

// A new back colour clears a box's drawing; a box already in the colours keeps what it shows.
void Recolour(platform::PictureBox& box, const SampleColours& colours) {
  box.setForeColor(colours.text);
  if (box.backColor() != colours.back) box.setBackColor(colours.back);
}

}  // namespace

void MakeBarOpaque() { platform::SetWindowAlpha(SkolvaneBar::instance(), platform::kOpaqueAlpha); }
void MakeBarTranslucent() { platform::SetWindowAlpha(SkolvaneBar::instance(), kTranslucentAlpha); }
int BarAlpha() { return platform::WindowAlpha(SkolvaneBar::instance()); }

std::optional<SampleColours> ColoursForSample(std::int32_t sample) {
  if (sample < 0 || sample > 0xFFFFFF) return std::nullopt;
  const QColor back = platform::FromWinColor(sample);
  return SampleColours{back, QColor(Contrast(back.red()), Contrast(back.green()), Contrast(back.blue()))};
}

void GetScreenPixel() {
  if (!g_ColorNull || !SkolvaneBar::loaded()) return;
  g_PixelColor = platform::GetPixel(g_ColorSampleX - 1, g_ColorSampleY + 1);
  const std::optional<SampleColours> colours = ColoursForSample(g_PixelColor);
  if (!colours) return;
  SkolvaneBar& bar = SkolvaneBar::instance();
  for (platform::PictureBox* box : {bar.Pic_ShowText, bar.Pic_ShowPhonetic, bar.Pic_ShowLongMeaning}) {
    Recolour(*box, *colours);
  }
}
