#pragma once
// The file-type registration program: makes opening a word library (.abc) in the desktop start
// the word bar on it, then reports the outcome in the installer's settings file CORVELSETUP.ini
// in the user's profile folder (section VENDRIX, key LINKRESULT), in the installer's language.
// It shows nothing; its exit status says whether the registration took place.

#include <QString>

namespace Module1 {

// Registers the library type for the main program in `programFolder` (ending in "/"), writes the
// result text, prints it on standard output and returns the process exit status: 0 when
// registered and reported, 1 when not.
int Main(const QString& programFolder);

// The result text for the installer's language letter: the success text when `failure` is empty.
QString LinkResultText(const QString& languageLetter, const QString& failure);

}  // namespace Module1
