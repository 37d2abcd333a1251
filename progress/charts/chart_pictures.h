#pragma once
// The pictures of the chart windows' frame, painted here: the title strip the learner drags the
// window by, and the close glyph.

#include <QImage>

// A 417 x 30 pixel strip: a blue band with three small bars at its left end.
QImage ChartTitlePicture();
// An 18 x 18 pixel close glyph: a white cross on a dark red square.
QImage ChartClosePicture();
