#pragma once
// The pictures of the chart windows' frame, painted here: the title strip the learner drags the
// window by, and the close glyph.

#include <QImage>
#include <QSize>

// The title strip at `size` (the strip's box): a blue band with three small bars at its left end.
QImage ChartTitlePicture(const QSize& size);
// An 18 x 18 pixel close glyph: a white cross on a dark red square.
QImage ChartClosePicture();
