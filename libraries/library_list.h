#pragma once
// The library list TopicList.ini in the program folder: the word libraries the manager offers.
// One section per library, named library code + ":" + library name (the code is the first two
// characters inside the library file's "{...}" header, the name its file name without ".abc"),
// with key "@" = the folder of the library file ("XXX" marks a deleted entry) and key "#" = "X"
// for a dictionary library. Entries are never removed; a deleted one keeps its section.
// Writes go through the INI writer, which replaces the file atomically and keeps every other line.

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace platform {
class ProfileSnapshot;
}

// "@" of a deleted entry.
inline const QString kDeletedLibraryFolder = QStringLiteral("XXX");

// program folder + "TopicList.ini".
QString TopicListFile();

// code + ":" + name.
QString LibrarySectionName(const QString& code, const QString& name);
// The library name of a section: the text after its first ":" (the whole text without one).
QString LibraryNameOfSection(const QString& section);
// The library name of a library file name: without its folder and its ".abc" ending (any letter
// case); nothing when the name does not end in ".abc".
std::optional<QString> LibraryNameOfFile(const QString& path);

// The path of the library file named `name` in `folder`: folder + name + ".abc", where the ending
// may be in any letter case ("WORDS.ABC" is found like "words.abc"). Nothing when no such regular
// file exists.
std::optional<QString> FindLibraryFile(const QString& folder, const QString& name);

// A stored "@" value as a folder to open: missing ("Error"), empty and deleted entries give an
// empty text; a relative folder (the shipped list names the bundled samples so) is taken from the
// program folder. Ends with "/".
QString LibraryFolderFromStored(const QString& stored);

// The whole list read once, for the manager's list fill.
class LibraryList {
 public:
  LibraryList();
  ~LibraryList();
  LibraryList(const LibraryList&) = delete;
  LibraryList& operator=(const LibraryList&) = delete;

  // The section names in file order (a missing or unreadable file has none).
  const QStringList& sections() const;
  // True when the entry's library file exists (deleted and folder-less entries never do).
  bool libraryExists(const QString& section) const;

 private:
  std::unique_ptr<platform::ProfileSnapshot> snapshot_;
};

// True when a section belongs to the category: "X" takes every section, any other letter the
// sections that begin with it.
bool InCategory(const QString& section, const QString& filterLetter);

// The folder of an entry as LibraryFolderFromStored gives it (empty: missing, empty or deleted).
QString ReadLibraryFolder(const QString& section);
// True when the entry is a dictionary library ("#" neither missing nor empty).
bool ReadDictionaryFlag(const QString& section);

// Registers the library file at `path`: section ReadLibraryHeader(path) + ":" + name, "@" = its
// folder, "#" = "X" when the file has "#" after its header; a "#" left from an earlier entry of a
// library that is no longer a dictionary is cleared. Returns the section, or nothing when the
// list could not be written.
struct AddedLibrary {
  QString section;
  QString folder;
  bool dictionary = false;
};
std::optional<AddedLibrary> AddLibraryEntry(const QString& path);

// Registers a downloaded library: "@" = folder in section code + ":" + name, no "#".
bool RegisterDownloadedLibrary(const QString& folder, const QString& code, const QString& name);

// Marks the entry deleted ("@" = "XXX"). Adding the same library again brings it back.
bool MarkLibraryDeleted(const QString& section);
