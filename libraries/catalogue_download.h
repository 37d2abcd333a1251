#pragma once
// Fetching one checked catalogue item into the target folder without ever harming what is there.
// The item is fetched (an archive also unpacked, a multi-part set part by part) into a private
// folder inside the target folder. Only when every part arrived, every archive unpacked whole and
// the item's library reads as a library are the item's own files moved into place, as one
// transaction whose commit point is the library (platform/files/entry_swap.h: a kill leaves all of
// them old or all new once the next start has run); then the library is registered in
// TopicList.ini and the item logged. A failure at any step, a Cancel included, puts back every
// file it had moved, so the target folder is exactly as before, and the private folder goes with
// everything in it. Files the item does not own (see catalogue_item_files.h) are never even
// unpacked, so names they share across the parts of a set do not clash; a library's existing settings file is kept, whether it comes in an archive
// or as a plain item of its own.

#include "core/vars_bas.h"
#include "libraries/CFileDownload.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

enum class ItemFailure {
  None,
  BadFileName,      // TO_FILENAME is not a bare file name
  Download,         // the file (or a part of it) could not be fetched
  DownloadTooLarge, // the server's file is larger than one download may be
  NoSpace,          // the target's file system is full or too small for the item
  WriteFailed,      // the target folder refused a file for another reason
  Damaged,          // an archive is damaged (cut off, bad checksums, sizes that disagree, not a zip)
  UnsafeArchive,    // an archive entry would leave the folder
  BadEntryName,     // an archive entry's name cannot be read in the archive's code page
  DuplicateEntry,   // two of the item's own entries share a name (or one is both a file and a folder)
  TooManyEntries,   // an archive holds more entries than allowed
  UnpackTooLarge,   // an archive unpacks to more than allowed
  RatioTooHigh,     // an archive unpacks to far more than its own size
  UnpackNeedsMemory, // unpacking an archive needs more memory than the unpacking may take
  UnpackTooSlow,    // unpacking an archive used up its CPU time or its time in all
  UnpackerFailed,   // the unpacking program crashed or ended without a complete answer
  UnpackerMissing,  // the unpacking program is missing from the program folder or cannot start
  NoLibraryFile,    // the archive did not hold the library file it names
  NotALibrary,      // the item's library file does not read as a word library
  KindClash,        // one of the item's entries would replace a folder by a file or a file by a folder
  ListWriteFailed,  // TopicList.ini could not be written
  LogWriteFailed,   // Updatelog2.ini could not be written
  Cancelled,        // the learner cancelled while the item was under way
};

struct ItemOutcome {
  ItemFailure failure = ItemFailure::None;
  QString detail;  // the system's words, the archive library's, or the entry concerned, when there are any
  // What a successful item did: a library registered, or the learner's own file of the item's
  // name kept in place of the downloaded one (nothing moved, nothing logged).
  bool libraryAdded = false;
  bool keptLearnersFile = false;
  bool ok() const { return failure == ItemFailure::None; }
};

class CatalogueDownload {
 public:
  // `baseAddress` is the web folder the item names are appended to; `targetFolder` is an
  // absolute folder ending in "/", which must exist.
  CatalogueDownload(QString baseAddress, QString targetFolder);

  // Fetches one item. Sets g_CurrentSection when it registered a library.
  ItemOutcome download(const WebLibItem& item);
  // Cancels the item under way (a transfer or an unpacking); once its files are being moved into
  // place the item is finished.
  void abort();

  // What is being done: the description, then "part N" during a multi-part set.
  std::function<void(const QString& status)> onStatus;
  // Bytes of the running transfer or unpacking (total 0 while unknown).
  std::function<void(std::int64_t done, std::int64_t total)> onProgress;

 private:
  class Staging;
  ItemOutcome fetch(const QString& source, const QString& target);
  ItemOutcome unpack(const QString& archive, const QString& folder, const QString& libraryName);
  ItemOutcome fetchAndUnpack(const WebLibItem& item, Staging& staging);
  ItemOutcome install(const WebLibItem& item, Staging& staging);
  // True for a settings file ("Name.ini") the target folder already holds.
  bool IsLearnersSettingsFile(const QString& name) const;

  QString baseAddress_;
  QString targetFolder_;
  std::shared_ptr<CFileDownload> running_;  // shared with the transfer, so abort() is always safe
  bool cancelled_ = false;
};
