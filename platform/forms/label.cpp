#include "platform/forms/label.h"

#include "platform/forms/mouse_dispatch.h"

namespace platform {

Label::Label(QWidget* parent) : QLabel(parent), twips_(*this) {
  setTextFormat(Qt::PlainText);
  setAutoFillBackground(true);
}

void Label::setForeColor(const QColor& color) {
  QPalette p = palette();
  p.setColor(QPalette::WindowText, color);
  setPalette(p);
}

void Label::setBackColor(const QColor& color) {
  QPalette p = palette();
  p.setColor(QPalette::Window, color);
  setPalette(p);
}

void Label::mousePressEvent(QMouseEvent* event) { DispatchMouseDown(mouse_, *event); }
void Label::mouseMoveEvent(QMouseEvent* event) { DispatchMouseMove(mouse_, *event); }
void Label::mouseReleaseEvent(QMouseEvent* event) {
  DispatchMouseUp(mouse_, *event, rect().contains(event->position().toPoint()));
}
void Label::mouseDoubleClickEvent(QMouseEvent*) { DispatchDoubleClick(mouse_); }

}  // namespace platform
