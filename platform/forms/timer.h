#pragma once
// A form timer with the program's semantics: an interval of 0 never ticks, enabling restarts the
// interval, and a new interval while enabled restarts the count.

#include <QObject>
#include <QTimer>

#include <functional>

namespace platform {

class Timer : public QObject {
  Q_OBJECT

 public:
  explicit Timer(QObject* parent);

  int interval() const { return interval_; }
  void setInterval(int milliseconds);
  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled);

  // The tick handler. Set it before the first tick: a timer that ticks without one goes quiet
  // until it is enabled or given an interval again.
  std::function<void()> onTimer;

 private:
  void restart();

  QTimer timer_;
  int interval_ = 0;
  bool enabled_ = false;
};

}  // namespace platform
