#include "platform/forms/form.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QPointer>

namespace platform {

Form::Form(const QString& name) { setObjectName(name); }

Form::~Form() = default;

QObject* Form::control(const QString& name, int index) const {
  for (QObject* control : controls_) {
    if (control->objectName() != name) continue;
    if (index < 0 || control->property("index").toInt() == index) return control;
  }
  return nullptr;
}

void Form::showModal() {
  setWindowModality(Qt::ApplicationModal);
  QEventLoop loop;
  connect(this, &Form::hiddenOrClosed, &loop, &QEventLoop::quit);
  connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
  show();
  QPointer<Form> self(this);
  if (isVisible()) loop.exec();
  if (self) setWindowModality(Qt::NonModal);
}

bool Form::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) Form_Activate();
  return QWidget::event(event);
}

void Form::closeEvent(QCloseEvent* event) {
  if (unloader_) {
    event->ignore();  // the unloader hides and disposes of the window itself
    const auto unload = unloader_;
    unload();
    return;
  }
  QWidget::closeEvent(event);
}

void Form::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  emit hiddenOrClosed();
}

}  // namespace platform
