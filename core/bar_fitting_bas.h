#pragma once
// Fitting the word bar to its rows: the window is as high as the rows it shows, and stays on top.

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

// Gives the bar the height its rows need at its place (g_WindowX, g_WindowY) and width
// (g_WindowW) and puts it on top; shows it unless the bar is switched off (g_ShowMain) while its
// tray icon shows.
void FitBarToRows();

// After a segment change: the status-row count taken from g_ShowStatus, the bar given the height
// its rows need where it stands now (its place kept, width g_WindowW), put on top (and shown
// as FitBarToRows shows it), and its word timer started. Nothing but the count while
// the bar is not loaded.
void FitBarInPlaceAndStart();
