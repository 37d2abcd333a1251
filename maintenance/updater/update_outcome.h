#pragma once
// What one update run achieved, and the one-line result text the updaters write into the
// installer's settings file for it, in the installer's language: how many files were brought up
// to date, and every item that was not, each named with the reason (reported beside the
// successes, never hidden), that the update list itself could not be fetched (with the address
// tried), or that the program was asked to end before the run was over.

#include "maintenance/updater/update_policy.h"

#include <QString>

#include <vector>

struct FailedUpdate {
  QString fileName;  // the item's TO_FILENAME (its FROM_FILENAME when it names no file)
  UpdateRefusal reason;
};

struct UpdateOutcome {
  bool listFetched = false;
  QString listAddress;                                   // where the list was looked for
  UpdateRefusal listFailure = UpdateRefusal::DownloadFailed;  // why it was not fetched
  int fetched = 0;                                       // items downloaded and stored
  std::vector<FailedUpdate> failures;                    // items due that were not stored
  QString fetchedLine;  // "FROM_FILENAME->TO_FILENAME" of the last item stored; empty when none
  QString resultLine;   // the result text of the run
  bool resultWritten = false;  // every key the run had to write is in the installer's settings
  bool logWritten = true;      // every fetched file has its entry in the download log
  bool interrupted = false;    // the program was asked to end before the run was over
};

QString UpdateResultText(const QString& languageLetter, const UpdateOutcome& outcome);

// The run did all it had to: it was not interrupted, the list came, no item failed, and the
// result was written.
bool UpdateSucceeded(const UpdateOutcome& outcome);
