// The manager's Search picture: the dictionary look-up pop-up for the library in g_LibraryPath.
#include "libraries/frmGetWord.h"
#include "libraries/manager_hooks.h"

bool OpenDictionaryLookup() {
  frmGetWord::instance().show();
  return true;
}
