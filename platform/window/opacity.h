#pragma once
// Constant-alpha drawing of a top-level window: the whole window drawn with one opacity, from 0
// (invisible) to 255 (opaque). On X11 this sets the window's _NET_WM_WINDOW_OPACITY property;
// a compositing manager must be running for it to show.

#include <QWidget>

namespace platform {

inline constexpr int kOpaqueAlpha = 255;

// Draws the window with the given alpha (kept within 0 to 255).
void SetWindowAlpha(QWidget& window, int alpha);
// The alpha last set for the window, 0 to 255.
int WindowAlpha(const QWidget& window);

}  // namespace platform
