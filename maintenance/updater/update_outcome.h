#pragma once
// What one update run achieved, and the one-line result text the updaters write into the
// installer's settings file for it, in the installer's language: how many files were brought up
// to date, how many could not be (reported beside them, never hidden), or that the update list
// itself could not be fetched.

#include <QString>

struct UpdateOutcome {
  bool listFetched = false;
  int fetched = 0;      // items downloaded and stored
  int failed = 0;       // items due that could not be stored (bad name, failed transfer)
  QString fetchedLine;  // "FROM_FILENAME->TO_FILENAME" of the last item stored; empty when none
};

QString UpdateResultText(const QString& languageLetter, const UpdateOutcome& outcome);
