#pragma once
// The update run both updaters perform, written once: fetch the update list into the program
// folder, walk the list's sections item by item, download every item that is due over its file
// in the program folder, log each download in Updatelog2.ini, and write the result into the
// installer's settings file. A run that cannot fetch the list writes no key at all: it reports
// the failure in its outcome only (the programs print it and exit with status 1). Neither does a
// run the program's end cuts short (a termination signal): the transfer under way is cancelled,
// no further item is looked at, and the files fetched before stay fetched and logged. The programs
// differ only in the parameters: which sections and item numbers they walk, the section their
// result goes to, and an optional key that records the last file fetched.
//
// The list comes from the update folder, or from NewPath + NewFileName of ServerLocation.ini when
// that redirects it; then NewPath is also the base address in front of each FROM_FILENAME.

#include "maintenance/updater/update_outcome.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

// The update list as the updaters store it in the program folder.
inline constexpr char16_t kUpdateListFile[] = u"ServerUpdate2.ini";

// One walk over a section of the update list.
struct UpdatePass {
  QString section;
  int firstItem = 1;
  int lastItem = 1;
  // Empty: the items' base address is the run's (NewPath, or nothing). Otherwise each item's base
  // address is FROM_PATHnn of this section.
  QString fromPathSection;
};

struct InstallerKey {
  QString section;
  QString key;
};

struct UpdateRunParameters {
  std::vector<UpdatePass> passes;
  // The section of CORVELSETUP.ini whose key "RESULT" receives the result text.
  QString resultSection;
  // Written before the result: the last fetched item's "FROM_FILENAME->TO_FILENAME", or removed
  // when the run fetched nothing.
  std::optional<InstallerKey> fetchedLineKey;
};

// Called with the text to show for the item about to be fetched.
using ShowFetchedItem = std::function<void(const QString& text)>;

// Runs the update in the program folder and writes its result; `language` is the installer's
// language letter (it picks the descriptions and the result texts). Every item is checked
// against the update policy (update_policy.h); a refused item is a failed item of the result.
UpdateOutcome RunUpdate(const UpdateRunParameters& parameters, const QString& language,
                        const ShowFetchedItem& showItem);
