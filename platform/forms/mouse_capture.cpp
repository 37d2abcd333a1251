#include "platform/forms/mouse_capture.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>

#include <optional>

namespace platform {
namespace {

// How often the pointer is looked at while a control holds the capture.
constexpr int kPointerCheckMs = 100;

// Watches the application's events while a control holds the capture and reports the pointer to
// that control whenever it moves elsewhere in the control's window or leaves the window. Events
// alone miss a pointer that goes away while the window hears nothing: a modal window blocks the
// control's window, another window opens over it and closes again, or the window was told of a
// pointer that never was on it. So the pointer is also looked at a few times a second, and a
// pointer that is not on the control's window is reported wherever it went.
class CaptureRouter : public QObject {
 public:
  void capture(QWidget& control) {
    // The moves reported carry no button, which Qt gives only to widgets that track the mouse.
    control.setMouseTracking(true);
    if (!target_) qApp->installEventFilter(this);
    target_ = &control;
    lastChecked_.reset();
    if (!check_) {
      check_ = new QTimer(qApp);  // owned by the application, which outlives every capture
      check_->setInterval(kPointerCheckMs);
      QObject::connect(check_, &QTimer::timeout, this, [this] { checkPointer(); });
    }
    check_->start();
  }

  void release() {
    if (target_) qApp->removeEventFilter(this);
    target_ = nullptr;
    if (check_) check_->stop();
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
      if (type == QEvent::Leave) reportPointer(QCursor::pos());
      return false;
    }
    if (static_cast<QWidget*>(watched)->window() == target_->window()) reportPointer(QCursor::pos());
    return false;
  }

 private:
  // Whether the pointer at `global` is on the control's own window: the window in front there,
  // as the window system stacks them, is it (not another window of this program or of another,
  // and not nothing because the window went out of sight).
  bool onTargetWindow(const QPoint& global) const {
    const QWidget* front = QApplication::widgetAt(global);
    return front != nullptr && front->window() == target_->window();
  }

  void checkPointer() {
    if (!target_) return;
    const QPoint global = QCursor::pos();
    if (onTargetWindow(global)) {
      // Qt reports the moves over the window itself; a pointer resting there needs nothing more.
      if (lastChecked_ != global) reportPointer(global);
    } else {
      reportPointer(global);
    }
    lastChecked_ = global;
  }

  // Reports the pointer at `global` to the control as a move. A pointer that is over another
  // window in front of the control's window is not on the control, wherever that window lies:
  // it is reported just outside the control's top-left corner.
  void reportPointer(const QPoint& global) {
    QPointer<QWidget> target = target_;
    if (!target) return;
    QPointF local = target->mapFromGlobal(QPointF(global));
    if (!onTargetWindow(global) && target->rect().contains(local.toPoint())) local = QPointF(-1, -1);
    QMouseEvent move(QEvent::MouseMove, local, QPointF(global), Qt::NoButton, QGuiApplication::mouseButtons(),
                     QGuiApplication::keyboardModifiers());
    QCoreApplication::sendEvent(target, &move);
  }

  QPointer<QWidget> target_;
  QPointer<QTimer> check_;
  std::optional<QPoint> lastChecked_;
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
