#include "progress/charts/chart_pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPen>

#include <array>

QImage ChartTitlePicture(const QSize& size) {
  QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
  QPainter painter(&image);
  QLinearGradient band(0, 0, image.width(), 0);
  band.setColorAt(0, QColor(24, 64, 140));
  band.setColorAt(1, QColor(140, 180, 230));
  painter.fillRect(image.rect(), band);
  // Three rising bars: the sign of a chart window.
  constexpr std::array<int, 3> kBarHeights = {8, 14, 20};
  for (int i = 0; i < static_cast<int>(kBarHeights.size()); ++i) {
    const int h = kBarHeights[static_cast<size_t>(i)];
    painter.fillRect(10 + i * 7, 25 - h, 5, h, i == 2 ? QColor(80, 220, 80) : QColor(235, 80, 70));
  }
  return image;
}

QImage ChartClosePicture() {
  QImage image(18, 18, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.fillRect(image.rect(), QColor(150, 30, 30));
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(Qt::white, 2.5, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(QPointF(5, 5), QPointF(13, 13));
  painter.drawLine(QPointF(13, 5), QPointF(5, 13));
  return image;
}
