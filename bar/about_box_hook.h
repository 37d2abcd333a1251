#pragma once
// The about box as other windows open it (the dictionary pop-up's tray menu): one function the
// about box's own code fills in.

// Shows the about box modally and returns when it closes. Does nothing while the program has no
// about box.
void ShowAboutBox();
