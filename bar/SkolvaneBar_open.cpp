#include "bar/SkolvaneBar_open.h"

#include "bar/SkolvaneBar.h"
#include "bar/library_lock.h"
#include "core/language_bas.h"
#include "core/vars_bas.h"
#include "platform/dialogs/dialogs.h"

namespace {

void TellLibraryInUse() {
  // The texts of the language the bar would have shown; the letter chosen for that is not kept.
  const QString letter = g_UILanguage;
  ApplyFormLanguage(QStringLiteral("SkolvaneBar"));
  const QString text = GetMessageText(
      QStringLiteral("library_lock"), QStringLiteral("LibraryInUse"),
      QStringLiteral("The word library \"%1\" is already open in another word bar. Use that bar, or close it "
                     "before opening the library again: two bars on one library would overwrite each other's "
                     "kills."));
  g_UILanguage = letter;
  platform::MsgBox(text.arg(g_LibraryPath));
}

}  // namespace

bool OpenLibraryBar() {
  if (LockLibrary(g_LibraryPath) == LibraryLock::HeldElsewhere) {
    TellLibraryInUse();
    return false;
  }
  SkolvaneBar& bar = SkolvaneBar::instance();
  bar.setVisible(bar.VisibleBySettings());
  return true;
}
