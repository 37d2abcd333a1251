// The about box fills this in: frmAbout shown modally.
#include "bar/about_box_hook.h"

void ShowAboutBox() {}
