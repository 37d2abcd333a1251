#pragma once
// Registers a file type with the desktop for the current user, the freedesktop way: a
// shared-mime-info package that names the type by its file-name pattern and by the bytes the
// files start with, a desktop entry that opens such a file with a program, and that entry made
// the type's default application. Nothing needs root: every file goes under the user's data
// folder ($XDG_DATA_HOME, else ~/.local/share) and the user's mimeapps.list.
//
// Every tool the registration runs is checked; the first one that is missing or fails ends the
// registration with a text saying which, so a caller never reports a registration that did not
// take place. The desktop entry written is checked with desktop-file-validate when that is
// installed.

#include <QByteArray>
#include <QString>

namespace platform {

struct FileTypeRegistration {
  QString mimeType;       // e.g. "application/x-word-library"
  QString comment;        // the type's name as file managers show it
  QString globPattern;    // e.g. "*.abc"
  QByteArray magic;       // the bytes a file of the type starts with (may be empty)
  QString desktopId;      // the desktop entry's file name, e.g. "word-bar.desktop"
  QString applicationName;
  QString programPath;    // the program that opens the files; gets the file as its one argument
};

struct FileTypeResult {
  bool ok = false;
  QString failure;  // what failed, when !ok (a tool and its exit status or output)
};

FileTypeResult RegisterFileType(const FileTypeRegistration& registration);

// The desktop-entry Exec value that runs `program` with one file: the path quoted so blanks,
// apostrophes and the characters the Exec syntax reserves survive, % doubled, then the file
// field code.
QString DesktopExecLine(const QString& program);

// The user's data folder for desktop files ($XDG_DATA_HOME, else ~/.local/share), ending in "/".
QString UserDataFolder();

}  // namespace platform
