#pragma once
// What the updater Tolbrand2 updates: every file of the update list's section
// "SERVER_LEATEST_2" (items 01 to 99, addressed like the list), then those of the section for the
// installer's language, "SERVER_LEATEST_2" + letter (items 01 to 05, each fetched from its own
// FROM_PATHnn of "SERVER_LEATEST_2"). Its result goes to [ServerUpdate2] RESULT; when the list
// cannot be fetched it writes nothing.

#include "maintenance/updater/update_run.h"

UpdateRunParameters Tolbrand2Run(const QString& language);
