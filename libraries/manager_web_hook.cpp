// The manager's Web item. The web catalogue fills this in: fetch the server list, show the
// catalogue modally, return true.
#include "libraries/manager_hooks.h"

bool OpenWebCatalogue() { return false; }
