// The manager's Search picture. The dictionary look-up pop-up fills this in: show the pop-up for
// g_LibraryPath, return true.
#include "libraries/manager_hooks.h"

bool OpenDictionaryLookup() { return false; }
