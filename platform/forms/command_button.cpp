#include "platform/forms/command_button.h"

#include <QPainter>

namespace platform {

CommandButton::CommandButton(QWidget* parent) : QPushButton(parent), twips_(*this) {
  connect(this, &QPushButton::clicked, this, [this] {
    if (onClick) onClick();
  });
}

void CommandButton::setPicture(const QImage& picture) {
  picture_ = picture;
  update();
}

void CommandButton::paintEvent(QPaintEvent* event) {
  if (picture_.isNull()) {
    QPushButton::paintEvent(event);
    return;
  }
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(rect(), picture_);
  if (isDown()) painter.fillRect(rect(), QColor(0, 0, 0, 40));  // pressed: a little darker
  painter.setPen(palette().color(QPalette::ButtonText));
  painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text());
  if (hasFocus()) {
    painter.setPen(QPen(palette().color(QPalette::ButtonText), 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(3, 3, -4, -4));
  }
}

}  // namespace platform
