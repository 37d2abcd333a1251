#pragma once
// The rules by which the updaters judge one item of the update list: where its file may go and
// whether it is due. Build times are texts "yyyymmdd_hh:mm:ss", compared as text with the local
// file's modification time written the same way (the form sorts like the time itself).

#include <QString>

// True when the item's TO_FILENAME names a file of the program folder itself: not empty, not "."
// or "..", and without a folder part ("/" or "\"). Anything else could write outside the folder.
// A missing key reads as "Error" and is no name either.
bool IsBareFileName(const QString& toFileName);

// True when the text has the build-time form "yyyymmdd_hh:mm:ss" (digits where digits belong).
bool IsKnownBuildTime(const QString& buildTime);

// True when the item must be fetched: its build time is known and either the local file is
// missing or the build time is later than the file's modification time. Equal times are current.
// An item whose build time is unknown is never due: it would otherwise be fetched on every run.
bool IsUpdateDue(const QString& buildTime, const QString& localFile);
