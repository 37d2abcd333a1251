#include "platform/window/window_drag.h"

#include <QWindow>

namespace platform {

void StartWindowDrag(QWidget& widget) {
  if (QWindow* window = widget.window()->windowHandle()) window->startSystemMove();
}

}  // namespace platform
