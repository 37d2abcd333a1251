#pragma once
// The about box as the tray menus open it (the bar's and the dictionary pop-up's).

// Shows the about box modally and returns when it closes.
void ShowAboutBox();
