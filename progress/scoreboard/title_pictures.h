#pragma once
// The pictures of the score board's borderless windows, painted here: the title strip by which
// a window is dragged and the close box that closes it.

#include <QImage>
#include <QSize>

namespace scoreboard {

QImage TitleStripPicture(const QSize& size);
QImage ClosePicture(const QSize& size);

}  // namespace scoreboard
