#include "progress/scoreboard/title_pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPen>

namespace scoreboard {

QImage TitleStripPicture(const QSize& size) {
  QImage image(size, QImage::Format_RGB32);
  QPainter painter(&image);
  QLinearGradient gradient(0, 0, 0, size.height());
  gradient.setColorAt(0.0, QColor(0x3a, 0x6e, 0xa5));
  gradient.setColorAt(1.0, QColor(0x1f, 0x40, 0x68));
  painter.fillRect(image.rect(), gradient);
  return image;
}

QImage ClosePicture(const QSize& size) {
  QImage image = TitleStripPicture(size);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(Qt::white, 2.0));
  const int margin = size.width() / 3;
  painter.drawLine(margin, margin, size.width() - margin, size.height() - margin);
  painter.drawLine(size.width() - margin, margin, margin, size.height() - margin);
  return image;
}

}  // namespace scoreboard
