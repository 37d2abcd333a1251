#pragma once
// The mouse-wheel control: turns the wheel over one chosen window into the event WheelScroll of
// the control. The window need not belong to the control: EnableWheel hooks the window's events
// (modWheel), takes the wheel turns out of them, and lets every other event through unchanged.
//
// The hook belongs to the captured window and ends with it; control and hook know each other only
// through guarded pointers, so either may go first.

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <functional>

class MWheel : public QObject {
  Q_OBJECT

 public:
  explicit MWheel(QObject* parent);
  ~MWheel() override;

  // Removes the capture (when one is installed).
  void DisableWheel();
  // Installs the capture on hWndCapture; nothing without a window, or when installed already.
  void EnableWheel();

  QWidget* hWndCapture() const { return hWndCapture_; }
  // Sets the window only: an active capture stays where it is.
  void setHWndCapture(QWidget* window) { hWndCapture_ = window; }
  bool enabled() const { return enabled_; }

  // The event: zDelta is the turn, 120 per notch away from the user and -120 towards; Y is the
  // pointer's screen y; Shift and X are always 0.
  std::function<void(std::int16_t Shift, std::int16_t zDelta, float X, float Y)> WheelScroll;

  // Raises WheelScroll for one wheel turn over the captured window (called by the hook).
  void FireWheelScroll(int delta, int screenY);

 private:
  QPointer<QWidget> hWndCapture_;
  QPointer<QObject> hook_;  // the installed capture, owned by the captured window
  bool enabled_ = false;
};
