#pragma once
// A private temporary folder inside another folder: created empty with a name of the program's
// own temporary pattern (see own_temporary_names.h), readable by this user only, and removed with
// everything in it when the object goes. Being inside the destination folder it lies on the same
// file system, so what is prepared in it can be renamed into place atomically. A program that dies
// leaves it behind for the next start to remove. A folder that still holds a replacement's journal
// (entry_swap.h: a replacement this process could not finish or undo) is left for the next start
// too, which follows the journal first: the old entries it may hold are not thrown away.

#include <QString>

namespace platform {

class PrivateFolder {
 public:
  // Creates the folder inside `parent` (which must exist); see created() and error().
  explicit PrivateFolder(const QString& parent);
  ~PrivateFolder();  // removes the folder, unless a journal is left in it
  PrivateFolder(const PrivateFolder&) = delete;
  PrivateFolder& operator=(const PrivateFolder&) = delete;

  bool created() const { return !path_.isEmpty(); }
  // The folder's full path, ending in "/" (empty when it could not be created).
  const QString& path() const { return path_; }
  // Why the folder could not be created, in the system's words.
  const QString& error() const { return error_; }
  // The system's error number of that failure (ENOSPC for a full disk), 0 when created.
  int errorNumber() const { return errorNumber_; }

 private:
  QString path_;
  QString error_;
  int errorNumber_ = 0;
};

}  // namespace platform
