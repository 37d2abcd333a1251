// The hot-key dispatch: the keyboard hook records the key and enables Tim_KeyHook; its one tick
// runs the key's procedure here, on the interface thread, never inside the hook.
#include "bar/SkolvaneBar.h"
#include "core/KeyBoardHook_bas.h"

void SkolvaneBar::Tim_KeyHook_Timer() {
  // One tick per hot key: several keys within one tick act once, with the last key's name.
  Tim_KeyHook->setEnabled(false);
  DispatchHotKey(g_LastHotKey);
}
