#pragma once
// The rule by which the updaters judge whether an item of the update list is due. Build times are
// texts "yyyymmdd_hh:mm:ss", compared as text with the local file's modification time written the
// same way (the form sorts like the time itself).

#include <QString>

// True when the item must be fetched: the local file is missing (whatever the build time says),
// or the build time is later than the file's modification time. Equal times are current. An
// existing file whose build time is missing or not of the form is never due: it would otherwise
// be fetched again on every run.
bool IsUpdateDue(const QString& buildTime, const QString& localFile);
