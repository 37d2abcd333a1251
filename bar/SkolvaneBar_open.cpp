#include "bar/SkolvaneBar_open.h"

#include "bar/SkolvaneBar.h"
#include "bar/library_lock.h"
#include "core/do_loading_bas.h"
#include "core/language_bas.h"
#include "core/vars_bas.h"
#include "platform/dialogs/dialogs.h"
#include "platform/files/safe_read.h"

#include <functional>

namespace {

// Shows a message in the language the bar would have shown; the letter chosen for that is not
// kept, as no bar opens.
void TellInBarLanguage(const std::function<QString()>& text) {
  const QString letter = g_UILanguage;
  ApplyFormLanguage(QStringLiteral("SkolvaneBar"));
  const QString message = text();
  g_UILanguage = letter;
  platform::MsgBox(message);
}

void TellLibraryInUse() {
  TellInBarLanguage([] {
    return GetMessageText(
               QStringLiteral("library_lock"), QStringLiteral("LibraryInUse"),
               QStringLiteral("The word library \"%1\" is already open in another word bar. Use that bar, or close it "
                              "before opening the library again: two bars on one library would overwrite each "
                              "other's kills."))
        .arg(g_LibraryPath);
  });
}

// A folder, a FIFO or a device named as the library would open as an empty library that never
// finishes loading (a FIFO waits for a writer, a device never ends): it is refused by name.
bool RefusedAsNotAFile() {
  const platform::EntryKind kind = platform::KindOfEntry(g_LibraryPath);
  if (kind == platform::EntryKind::Missing || kind == platform::EntryKind::RegularFile) return false;
  TellInBarLanguage([kind] { return LibraryNotAFileMessage(g_LibraryPath, kind); });
  return true;
}

}  // namespace

bool OpenLibraryBar() {
  if (RefusedAsNotAFile()) return false;
  if (LockLibrary(g_LibraryPath) == LibraryLock::HeldElsewhere) {
    TellLibraryInUse();
    return false;
  }
  SkolvaneBar& bar = SkolvaneBar::instance();
  if (g_LibraryRefused) {
    SkolvaneBar::unload();  // gives the lock up too
    return false;
  }
  bar.setVisible(bar.VisibleBySettings());
  return true;
}
