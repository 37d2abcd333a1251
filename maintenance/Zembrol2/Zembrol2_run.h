#pragma once
// What the updater's updater Zembrol2 updates: the one item the update list reserves for the
// updater, item 00 of section "SELF_UPDATE" (addressed like the list). It records the item it
// fetched in [VENDRIX] RESULT (removed when it fetched nothing) and its result in [Zembrol2] RESULT;
// when the list cannot be fetched it writes neither key.

#include "maintenance/updater/update_run.h"

UpdateRunParameters Zembrol2Run(const QString& language);
