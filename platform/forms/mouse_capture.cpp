#include "platform/forms/mouse_capture.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPointer>

namespace platform {
namespace {

// Watches the application's events while a control holds the capture and reports the pointer to
// that control whenever it moves elsewhere in the control's window or leaves the window.
class CaptureRouter : public QObject {
 public:
  void capture(QWidget& control) {
    // The moves reported carry no button, which Qt gives only to widgets that track the mouse.
    control.setMouseTracking(true);
    if (!target_) qApp->installEventFilter(this);
    target_ = &control;
  }

  void release() {
    if (target_) qApp->removeEventFilter(this);
    target_ = nullptr;
  }

  QWidget* target() const { return target_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!target_ || !watched->isWidgetType()) return false;
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseMove && type != QEvent::Enter && type != QEvent::Leave) return false;
    // The control's own moves reach it anyway; its leave is reported, since what the pointer
    // entered next may report nothing of its own. Moves over the rest of its window, and the
    // window's leave, are reported too.
    if (watched == target_) {
      if (type == QEvent::Leave) reportPointer();
      return false;
    }
    if (static_cast<QWidget*>(watched)->window() == target_->window()) reportPointer();
    return false;
  }

 private:
  void reportPointer() {
    QPointer<QWidget> target = target_;
    const QPointF global = QCursor::pos();
    QMouseEvent move(QEvent::MouseMove, target->mapFromGlobal(global), global, Qt::NoButton,
                     QGuiApplication::mouseButtons(), QGuiApplication::keyboardModifiers());
    QCoreApplication::sendEvent(target, &move);
  }

  QPointer<QWidget> target_;
};

CaptureRouter& Router() {
  static CaptureRouter router;
  return router;
}

}  // namespace

void SetCapture(QWidget& control) { Router().capture(control); }
void ReleaseCapture() { Router().release(); }
QWidget* GetCapture() { return Router().target(); }

}  // namespace platform
