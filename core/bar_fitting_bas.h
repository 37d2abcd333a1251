#pragma once
// Fitting the word bar to its rows: the window is as high as the rows it shows, stays on top, and
// lies wholly inside the usable part of the screen it is on.

#include "platform/window/screen_areas.h"

#include <cstdint>
#include <vector>

// What the bar height depends on: the boxes' heights in twips and the row settings.
struct BarRows {
  double textHeight = 0;     // word box, twips
  double pictureHeight = 0;  // picture row, twips
  bool showPhonetic = false;
  bool showLongMeaning = false;
  bool showPicture = false;
  int meaningBarPercent = 50;  // meaning row height as a percentage of the word row's
  int meaningRows = 1;
  int statusRows = 0;  // 1 when the status row is shown
};

// Height of the status row, pixels.
inline constexpr int kStatusRowPixels = 13;
// The highest window the window system makes, pixels.
inline constexpr double kMaxBarPixels = 32767;

// The bar height in pixels for these rows: the phonetic row is half the word row; the meaning
// rows together are taken down to a whole pixel; the sum is rounded to the nearest pixel, a half
// to the even neighbour, and kept within 0 to kMaxBarPixels.
int BarHeightPixels(const BarRows& rows);

// The rows as the shared settings and the bar's boxes now give them.
BarRows CurrentBarRows();

// A bar's place and size in screen pixels; 64-bit, as stored values can be anything a 32-bit
// number holds and their sums must not overflow.
struct BarPlace {
  std::int64_t x = 0;
  std::int64_t y = 0;
  std::int64_t width = 0;
  std::int64_t height = 0;
};

// The screen the bar is on: the one it overlaps most, or the nearest one when it overlaps none
// (a bar under a panel is on that screen). Nothing without screens.
const platform::ScreenArea* ScreenOfBar(const BarPlace& bar, const std::vector<platform::ScreenArea>& screens);

// The bar moved in just enough that it lies wholly inside `area`, its size kept; a bar wider or
// taller than the area keeps its left or top edge on the area's.
BarPlace MoveInsideArea(const BarPlace& bar, const QRect& area);

// The bar moved inside the available area (the screen less its panels) of the screen it is on;
// unchanged without screens.
BarPlace FitInsideScreen(const BarPlace& bar, const std::vector<platform::ScreenArea>& screens);

// Puts the bar window at (x, y) with this size, moved in by FitInsideScreen when it would reach
// past an edge of its screen, and on top; shows it when `show` is set. The place asked for
// (g_WindowX, g_WindowY) is not changed: the learner's place comes back when the bar fits there
// again. The colour sample point follows the place the bar is shown at.
void PlaceBarWindow(std::int64_t x, std::int64_t y, int width, int height, bool show);

// Gives the bar the height its rows need where it stands now (its width g_WindowW) and puts it
// on top, shown.
void FitBarInPlace();

// Gives the bar the height its rows need at its place (g_WindowX, g_WindowY) and width
// (g_WindowW) and puts it on top; shows it unless the bar is switched off (g_ShowMain) while its
// tray icon shows.
void FitBarToRows();

// After a segment change: the status-row count taken from g_ShowStatus, the bar given the height
// its rows need where it stands now (its place kept, width g_WindowW), put on top (and shown
// as FitBarToRows shows it), and its word timer started. Nothing but the count while
// the bar is not loaded.
void FitBarInPlaceAndStart();
