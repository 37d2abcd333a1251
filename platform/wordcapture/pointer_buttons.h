#pragma once
// Whether the learner is holding a pointer button anywhere on the desktop. A selection made with
// the mouse is still growing while a button is down (a drag over text, the second press of a
// double click); once every button is up it rests, and the word grabber can take it at once.

#include <optional>

namespace platform {

// True while any pointer button is held, false when none is; nothing when the session cannot
// tell (no X11 connection, as under the offscreen platform).
std::optional<bool> PointerButtonsHeld();

}  // namespace platform
