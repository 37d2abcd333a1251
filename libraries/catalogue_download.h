#pragma once
// Fetching one checked catalogue item into the target folder: the file itself, for an archive
// its unpacking (a multi-part set part by part), and for a word library its registration in
// TopicList.ini and an entry in the download log. An item either succeeds as a whole or fails
// with a reason; a failed item is neither registered nor logged.

#include "core/vars_bas.h"
#include "libraries/CFileDownload.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

enum class ItemFailure {
  None,
  BadFileName,    // TO_FILENAME is not a bare file name
  Download,       // the file (or a part of it) could not be fetched
  Unpack,         // the archive could not be unpacked safely
  NoLibraryFile,  // the archive did not hold the library file it names
};

class CatalogueDownload {
 public:
  // `baseAddress` is the web folder the item names are appended to; `targetFolder` ends in "/".
  CatalogueDownload(QString baseAddress, QString targetFolder);

  // Fetches one item. Sets g_CurrentSection when it registered a library.
  ItemFailure download(const WebLibItem& item);
  // Cancels the running transfer; the item in progress then fails.
  void abort();

  // What is being fetched: the description, then "part N" during a multi-part set.
  std::function<void(const QString& status)> onStatus;
  // Bytes of the running transfer (total 0 while unknown).
  std::function<void(std::int32_t received, std::int32_t total)> onProgress;

 private:
  bool fetch(const QString& source, const QString& target);
  ItemFailure unpack(const WebLibItem& item, const QString& target);

  QString baseAddress_;
  QString targetFolder_;
  std::shared_ptr<CFileDownload> running_;  // shared with the transfer, so abort() is always safe
};
