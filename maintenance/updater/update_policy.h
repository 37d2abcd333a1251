#pragma once
// What the updaters accept from the update server. The list is outside input and rewrites the
// installation, so each item passes these checks before its file is replaced:
// - addresses are https (the download verifies the server's certificate); plain http is taken
//   only from a loopback address, where a server on this machine serves the files;
// - the learner's own files in the program folder (the library list, the settings, the
//   installer's settings) are never replaced;
// - a file that is executable in the program folder is replaced only by an executable of this
//   machine's format (an ELF file with the class, byte order and machine of the running program),
//   so a list cannot put a script or a foreign binary where a program ran before.

#include <QString>

#include <optional>

// Why an item of the update list was not stored.
enum class UpdateRefusal {
  BadFileName,      // the target names no file inside the program folder
  LearnersFile,     // the target is one of the learner's own files
  FolderInTheWay,   // a folder of the program folder has the target's name
  NoAddress,        // the list gives no FROM_PATH for an item that needs one
  InsecureAddress,  // the source address is neither https nor loopback http
  NotAProgram,      // an executable would be replaced by something that is no program of this machine
  TooLarge,         // the file is larger than one download may be
  NoSpace,          // the file does not fit on the disk
  DownloadFailed,   // the server did not deliver the file, or it could not be stored
};

// True for an https address, and for an http address whose host is a literal loopback address.
// The address is judged as the download sends it (percent-encoded, see EncodedDownloadAddress),
// so file names with blanks and other characters an address must escape are accepted.
bool IsAcceptedUpdateAddress(const QString& address);

// Why an item's TO_FILENAME may not be replaced at all, before anything is fetched: it names no
// file inside the program folder (a missing key reads "Error" and names none either), or one of
// the learner's own files. Nothing when it may be replaced.
std::optional<UpdateRefusal> UpdateTargetRefusal(const QString& toFileName);

// True for the learner's own files, which an update never replaces.
bool IsLearnersFile(const QString& fileName);

// True when the file exists and is executable by anyone.
bool IsExecutableFile(const QString& path);

// True when the file starts with the ELF header of an executable or shared object of the
// running program's class, byte order and machine.
bool IsProgramOfThisMachine(const QString& path);
