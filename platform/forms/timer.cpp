#include "platform/forms/timer.h"

#include <algorithm>

namespace platform {

Timer::Timer(QObject* parent) : QObject(parent) {
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, [this] {
    // A timer without a handler has nothing to do: it stops waking the program until it is
    // enabled or given an interval again.
    if (!onTimer) {
      timer_.stop();
      return;
    }
    if (enabled_ && interval_ > 0) onTimer();
  });
}

void Timer::setInterval(int milliseconds) {
  interval_ = std::max(0, milliseconds);
  restart();
}

void Timer::setEnabled(bool enabled) {
  enabled_ = enabled;
  restart();
}

void Timer::restart() {
  if (enabled_ && interval_ > 0) {
    timer_.start(interval_);
  } else {
    timer_.stop();
  }
}

}  // namespace platform
