#include "progress/charts/chart_canvas.h"

#include <QPainter>
#include <QRectF>

ChartCanvas::ChartCanvas(platform::PictureBox& box, double width, double height)
    : box_(box), width_(width > 0 ? width : 1), height_(height > 0 ? height : 1) {
  const QSize pixels = box.image().size();
  toPixels_ = QTransform::fromScale(pixels.width() / width_, pixels.height() / height_);
}

void ChartCanvas::draw(const std::function<void(const BoxFiller& fillBox)>& paint) {
  box_.draw([&](QPainter& painter) {
    painter.setTransform(toPixels_);
    paint([&](QPointF corner, QPointF opposite, const QColor& color) {
      painter.fillRect(QRectF(corner, opposite).normalized(), color);
    });
  });
}

QPointF ChartCanvas::toChart(QPointF pixel) const { return toPixels_.inverted().map(pixel); }
