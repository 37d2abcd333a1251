#include "platform/forms/picture_box.h"

#include "platform/forms/mouse_dispatch.h"

#include <QPaintEvent>
#include <QPainter>
#include <QRegion>

namespace platform {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent), twips_(*this) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  // A box hears every pointer move over it, with or without a button held: readouts follow the
  // hovering pointer, and drags look at the buttons themselves.
  setMouseTracking(true);
  resizeImage(size());
}

void PictureBox::setBackColor(const QColor& color) {
  backColor_ = color;
  cls();
  repaintWiped();
}

void PictureBox::cls() {
  resizeImage(size());
  image_.fill(backColor_);
  if (!picture_.isNull()) {
    QPainter painter(&image_);
    painter.drawImage(0, 0, picture_);
  }
  update();
}

void PictureBox::draw(const std::function<void(QPainter&)>& paint) {
  resizeImage(size());
  {
    QPainter painter(&image_);
    painter.setFont(font());
    painter.setPen(foreColor_);
    paint(painter);
  }
  update();
}

void PictureBox::setPicture(const QImage& picture) {
  picture_ = picture;
  cls();
  repaintWiped();
}

void PictureBox::runPaintHandler() {
  if (!onPaint || inPaintHandler_) return;
  inPaintHandler_ = true;
  const auto handler = onPaint;  // the handler may replace itself
  handler();
  inPaintHandler_ = false;
}

void PictureBox::repaintWiped() {
  if (isVisible()) runPaintHandler();
}

void PictureBox::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.drawImage(event->rect(), image_, event->rect());
}

void PictureBox::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  resizeImage(size());
  if (paintOnResize_ && isVisible()) runPaintHandler();
}

void PictureBox::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  runPaintHandler();
}

const QImage& PictureBox::image() const {
  resizeImage(size());
  return image_;
}

void PictureBox::resizeImage(const QSize& newSize) const {
  const QSize wanted = newSize.expandedTo(QSize(1, 1));
  if (image_.size() == wanted) return;
  QImage resized(wanted, QImage::Format_RGB32);
  resized.fill(backColor_);
  {
    QPainter painter(&resized);
    if (!image_.isNull()) painter.drawImage(0, 0, image_);
    // The picture shows through where the box grew; the old part keeps what was drawn over it.
    if (!picture_.isNull()) {
      painter.setClipRegion(QRegion(resized.rect()) - QRegion(image_.rect()));
      painter.drawImage(0, 0, picture_);
    }
  }
  image_ = std::move(resized);
}

void PictureBox::mousePressEvent(QMouseEvent* event) { DispatchMouseDown(mouse_, *event); }
void PictureBox::mouseMoveEvent(QMouseEvent* event) { DispatchMouseMove(mouse_, *event); }
void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
  DispatchMouseUp(mouse_, *event, rect().contains(event->position().toPoint()));
}
void PictureBox::mouseDoubleClickEvent(QMouseEvent*) { DispatchDoubleClick(mouse_); }

}  // namespace platform
