#include "platform/window/opacity.h"

#include <algorithm>
#include <cmath>

namespace platform {

void SetWindowAlpha(QWidget& window, int alpha) {
  window.setWindowOpacity(std::clamp(alpha, 0, kOpaqueAlpha) / static_cast<double>(kOpaqueAlpha));
}

int WindowAlpha(const QWidget& window) {
  return static_cast<int>(std::lround(window.windowOpacity() * kOpaqueAlpha));
}

}  // namespace platform
