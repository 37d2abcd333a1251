#pragma once
// Painting that cannot wait for the event loop: a control whose new drawing must be on screen
// before the program holds its thread (the bar's banner stays up through a pause in which no
// window message runs, so a drawing merely queued for painting would show only after it).

#include <QWidget>

namespace platform {

// Paints `widget` now and hands the result to the window system before returning. Does nothing
// for a hidden widget.
void PaintNow(QWidget& widget);

}  // namespace platform
