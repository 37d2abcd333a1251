#include "bar/MWheel.h"

#include <QWheelEvent>

#include <algorithm>
#include <limits>

namespace modWheel {
namespace {

// The capture on one window: a filter of the window's events, owned by the window.
class WheelCapture : public QObject {
 public:
  WheelCapture(MWheel& control, QWidget& captured) : QObject(&captured), control_(&control) {
    captured.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (event->type() != QEvent::Wheel) return false;
    const auto* wheel = static_cast<QWheelEvent*>(event);
    const int delta = wheel->angleDelta().y();
    if (delta == 0) return false;  // a sideways turn is not the wheel the control reports
    // The turn does not reach the window's own handling, also when the control is gone.
    if (control_) control_->FireWheelScroll(delta, static_cast<int>(wheel->globalPosition().y()));
    return true;
  }

 private:
  QPointer<MWheel> control_;
};

}  // namespace

// Installs a capture for `control` on `captured`; the capture is owned by the window (Qt parent).
QObject* WheelHook(MWheel& control, QWidget& captured) { return new WheelCapture(control, captured); }

}  // namespace modWheel

namespace {

// A turn as the 16-bit value the event carries (a larger one, several notches at once, is kept
// at the type's end rather than wrapped round to the other direction).
std::int16_t ToInt16(int value) {
  return static_cast<std::int16_t>(
      std::clamp(value, int{std::numeric_limits<std::int16_t>::min()}, int{std::numeric_limits<std::int16_t>::max()}));
}

}  // namespace

MWheel::MWheel(QObject* parent) : QObject(parent) {}

MWheel::~MWheel() { DisableWheel(); }

void MWheel::EnableWheel() {
  if (!hWndCapture_) return;
  enabled_ = true;
  if (hook_) return;  // installed once only
  hook_ = modWheel::WheelHook(*this, *hWndCapture_);  // owned by the captured window
}

void MWheel::DisableWheel() {
  if (!enabled_) return;
  delete hook_.data();  // the hook, wherever it was installed; nothing when its window is gone
  enabled_ = false;
}

void MWheel::FireWheelScroll(int delta, int screenY) {
  if (!WheelScroll) return;
  const auto handler = WheelScroll;  // a copy: the handler may end the control
  handler(0, ToInt16(delta), 0.0F, static_cast<float>(screenY));
}
