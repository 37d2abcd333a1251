#pragma once
// The program's entry: the hand-over from the installer on the first start after an
// installation (written by the program itself for a user no installer has seen), then the choice
// of the window the program opens from its command line.

#include <QString>
#include <QStringList>

namespace SubMain {

// Runs the start-up and opens the library manager (empty command line) or the word bar. Returns
// false when it opened nothing (another bar holds the library; the learner was told).
bool Main();

// The command line as the program receives it: the library path as given after the program
// name (a desktop launcher or the file association passes it quoted; a bare path works too).
QString CommandLineFromArguments(const QStringList& arguments);

// The library path a command line names: enclosing double quotes are removed when present.
QString LibraryPathFromCommandLine(const QString& commandLine);

// The interface language of a locale, as the installer would choose it: "C" (Chinese) when the
// first of LC_ALL, LC_MESSAGES and LANG that is set begins with "zh", else "A" (English).
QString LanguageLetterFromLocale(const QString& lcAll, const QString& lcMessages, const QString& lang);
// The same for this process's environment.
QString LanguageLetterOfLocale();

// A stable, non-empty name for this computer, valid as an INI section name.
QString ComputerSectionName();

}  // namespace SubMain
