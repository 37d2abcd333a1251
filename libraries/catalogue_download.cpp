#include "libraries/catalogue_download.h"

#include "core/do_loading_bas.h"
#include "libraries/ServerListFile.h"
#include "libraries/catalogue_item_files.h"
#include "libraries/download_log.h"
#include "libraries/library_list.h"
#include "platform/archive/zip_archive.h"
#include "platform/files/disk_full.h"
#include "platform/files/disk_sync.h"
#include "platform/files/entry_swap.h"
#include "platform/files/private_folder.h"
#include "platform/ini/ini.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <utility>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kLibraryExtension = QStringLiteral(".abc");
const QString kSettingsExtension = QStringLiteral(".ini");
const QString kArchiveExtension = QStringLiteral(".zip");
const QString kFirstPart = QStringLiteral(".part1");
const QString kFolderKey = QStringLiteral("@");
const QString kMissing = QStringLiteral("Error");

ItemOutcome Failed(ItemFailure failure, const QString& detail = {}) { return {failure, detail}; }

ItemFailure FailureOfDownload(platform::DownloadFailure failure) {
  switch (failure) {
    case platform::DownloadFailure::TooLarge: return ItemFailure::DownloadTooLarge;
    case platform::DownloadFailure::NoSpace: return ItemFailure::NoSpace;
    case platform::DownloadFailure::WriteFailed: return ItemFailure::WriteFailed;
    case platform::DownloadFailure::Cancelled: return ItemFailure::Cancelled;
    case platform::DownloadFailure::None:
    case platform::DownloadFailure::Transfer: break;
  }
  return ItemFailure::Download;
}

ItemFailure FailureOfUnpack(platform::UnpackResult result) {
  switch (result) {
    case platform::UnpackResult::Unpacked: return ItemFailure::None;
    case platform::UnpackResult::UnsafeEntry: return ItemFailure::UnsafeArchive;
    case platform::UnpackResult::BadName: return ItemFailure::BadEntryName;
    case platform::UnpackResult::DuplicateEntry: return ItemFailure::DuplicateEntry;
    case platform::UnpackResult::TooManyEntries: return ItemFailure::TooManyEntries;
    case platform::UnpackResult::TooLarge: return ItemFailure::UnpackTooLarge;
    case platform::UnpackResult::RatioTooHigh: return ItemFailure::RatioTooHigh;
    case platform::UnpackResult::DiskFull: return ItemFailure::NoSpace;
    case platform::UnpackResult::WriteFailed: return ItemFailure::WriteFailed;
    case platform::UnpackResult::Cancelled: return ItemFailure::Cancelled;
    case platform::UnpackResult::NeedsTooMuchMemory: return ItemFailure::UnpackNeedsMemory;
    case platform::UnpackResult::TookTooLong: return ItemFailure::UnpackTooSlow;
    case platform::UnpackResult::ReaderFailed: return ItemFailure::UnpackerFailed;
    case platform::UnpackResult::ReaderMissing: return ItemFailure::UnpackerMissing;
    case platform::UnpackResult::CannotOpen:
    case platform::UnpackResult::Damaged: break;
  }
  return ItemFailure::Damaged;
}

ItemOutcome FailedFromErrno(int error) {
  return Failed(platform::IsDiskFullError(error) ? ItemFailure::NoSpace : ItemFailure::WriteFailed,
                platform::SystemErrorText(error));
}

bool IsDirectory(const QString& path, bool& exists) {
  struct stat info {};
  exists = ::lstat(QFile::encodeName(path).constData(), &info) == 0;
  return exists && S_ISDIR(info.st_mode);
}

}  // namespace

// The item's private folder inside the target folder: downloaded files in "downloads/", an
// archive's content in "files/", and what the item will move into place.
class CatalogueDownload::Staging {
 public:
  explicit Staging(const QString& targetFolder) : folder(targetFolder) {}

  ItemOutcome prepare() {
    if (!folder.created()) return FailedFromErrno(folder.errorNumber());
    for (const QString& sub : {downloads(), files()}) {
      if (::mkdir(QFile::encodeName(sub).constData(), 0700) != 0) return FailedFromErrno(errno);
    }
    return {};
  }
  QString downloads() const { return folder.path() + QStringLiteral("downloads/"); }
  QString files() const { return folder.path() + QStringLiteral("files/"); }

  platform::PrivateFolder folder;
  std::vector<std::pair<QString, QString>> entries;  // staged path, name in the target folder
  QString libraryName;                               // empty: the item holds no library
};

CatalogueDownload::CatalogueDownload(QString baseAddress, QString targetFolder)
    : baseAddress_(std::move(baseAddress)), targetFolder_(std::move(targetFolder)) {}

void CatalogueDownload::abort() {
  cancelled_ = true;
  if (running_) running_->AbortDownloading();
}

ItemOutcome CatalogueDownload::fetch(const QString& source, const QString& target) {
  if (cancelled_) return Failed(ItemFailure::Cancelled);
  running_ = std::make_shared<CFileDownload>();
  const std::shared_ptr<CFileDownload> download = running_;
  download->SetSyncToDisk(false);  // synced before it is moved into place, after the unpacking
  download->OnProgress = [this](std::int32_t received, std::int32_t total, std::int32_t, const QString&) {
    if (onProgress) onProgress(received, total);
  };
  const bool fetched = download->StartDownloading(source, target);
  download->OnProgress = nullptr;
  running_.reset();
  if (cancelled_) return Failed(ItemFailure::Cancelled);
  return fetched ? ItemOutcome{} : Failed(FailureOfDownload(download->LastFailure()));
}

ItemOutcome CatalogueDownload::unpack(const QString& archive, const QString& folder, const QString& libraryName) {
  // Only the library's own entries: a readme in every part of a set is no clash.
  if (libraryName.isEmpty()) return Failed(ItemFailure::NoLibraryFile);
  platform::UnpackRequest request;
  request.archivePath = archive;
  request.folder = folder;
  request.onlyBeginning = libraryName + QLatin1Char('.');
  // The reader unpacks while this waits without blocking the event loop: the window paints, its
  // bar moves and Cancel is heard.
  request.onProgress = [this](std::int64_t written, std::int64_t total) {
    if (onProgress) onProgress(written, total);
  };
  request.cancelled = [this] { return cancelled_; };
  const platform::UnpackOutcome outcome = platform::UnpackZipArchive(request);
  if (cancelled_) return Failed(ItemFailure::Cancelled);
  return Failed(FailureOfUnpack(outcome.result), outcome.reason);
}

ItemOutcome CatalogueDownload::fetchAndUnpack(const WebLibItem& item, Staging& staging) {
  const QString& to = item.toFileName;
  const QString downloaded = staging.downloads() + to;
  if (IsLearnersSettingsFile(to)) return {};  // kept, as an archive keeps it; nothing to fetch
  if (ItemOutcome fetched = fetch(baseAddress_ + item.fromFileName, downloaded); !fetched.ok()) return fetched;
  staging.entries.emplace_back(downloaded, to);

  if (!to.contains(kArchiveExtension)) {
    if (!to.contains(kLibraryExtension)) return {};  // neither a library nor an archive: only kept
    if (!ReadsAsWordLibrary(downloaded)) return Failed(ItemFailure::NotALibrary);
    staging.libraryName = to.left(to.indexOf(kLibraryExtension));
    return {};
  }

  staging.libraryName = ArchiveLibraryName(to);
  if (ItemOutcome unpacked = unpack(downloaded, staging.files(), staging.libraryName); !unpacked.ok()) return unpacked;
  if (to.contains(kFirstPart)) {
    for (int part = 2; part <= item.parts; ++part) {
      if (onStatus) onStatus(QStringLiteral("part %1").arg(part));
      const QString partName = PartName(to, part);
      const QString partFile = staging.downloads() + partName;
      if (ItemOutcome fetched = fetch(baseAddress_ + PartName(item.fromFileName, part), partFile); !fetched.ok()) {
        return fetched;
      }
      staging.entries.emplace_back(partFile, partName);
      if (ItemOutcome unpacked = unpack(partFile, staging.files(), staging.libraryName); !unpacked.ok()) return unpacked;
    }
  }

  const QString library = staging.libraryName + kLibraryExtension;
  if (!QFileInfo(staging.files() + library).isFile()) return Failed(ItemFailure::NoLibraryFile);
  if (!ReadsAsWordLibrary(staging.files() + library)) return Failed(ItemFailure::NotALibrary);
  const QStringList names = QDir(staging.files()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                                              QDir::NoDotAndDotDot, QDir::Name);
  const QString settings = staging.libraryName + kSettingsExtension;
  const auto staged = [&staging](const QString& name) {
    return std::any_of(staging.entries.begin(), staging.entries.end(), [&name](const auto& entry) { return entry.second == name; });
  };
  for (const QString& name : names) {
    if (name == library || !IsOwnEntryName(name, staging.libraryName) || staged(name)) continue;
    if (name == settings && IsLearnersSettingsFile(name)) continue;
    staging.entries.emplace_back(staging.files() + name, name);
  }
  staging.entries.emplace_back(staging.files() + library, library);  // last: the library shows up whole
  return {};
}

bool CatalogueDownload::IsLearnersSettingsFile(const QString& name) const {
  // The learner's settings and statistics of a library they already have stay theirs.
  return name.endsWith(kSettingsExtension) && QFileInfo::exists(targetFolder_ + name);
}

ItemOutcome CatalogueDownload::install(const WebLibItem& item, Staging& staging) {
  for (const auto& [staged, name] : staging.entries) {
    bool targetExists = false;
    bool stagedExists = false;
    const bool targetIsFolder = IsDirectory(targetFolder_ + name, targetExists);
    if (targetExists && targetIsFolder != IsDirectory(staged, stagedExists)) return Failed(ItemFailure::KindClash, name);
  }
  for (const auto& [staged, name] : staging.entries) {
    if (!staged.startsWith(staging.downloads())) continue;
    // The download's write-back has run while the archive was unpacked; it is on disk before it
    // takes the place of anything.
    if (const int error = platform::SyncFileToDisk(staged); error != 0) return FailedFromErrno(error);
  }
  // One transaction: the library (staged last) is its commit point, and a start after a kill
  // finishes or undoes the whole set from the journal.
  platform::EntrySwap swap(staging.folder.path(), staging.libraryName.isEmpty() ? item.toFileName : staging.libraryName);
  if (QString reason; !swap.move(staging.entries, &reason)) return Failed(ItemFailure::WriteFailed, reason);

  QString section;
  QString previousFolder;
  if (!staging.libraryName.isEmpty()) {
    const QString code = ReadLibraryHeader(targetFolder_ + staging.libraryName + kLibraryExtension);
    section = LibrarySectionName(code, staging.libraryName);
    previousFolder = platform::ReadProfileString(TopicListFile(), section, kFolderKey, kMissing);
    if (!RegisterDownloadedLibrary(targetFolder_, code, staging.libraryName)) {
      return Failed(ItemFailure::ListWriteFailed);
    }
  }
  if (!AppendDownloadLog(item.fromFileName, targetFolder_ + item.toFileName)) {
    if (!section.isEmpty()) {
      if (previousFolder == kMissing) {
        platform::DeleteProfileKey(TopicListFile(), section, kFolderKey);
      } else {
        platform::WriteProfileString(TopicListFile(), section, kFolderKey, previousFolder);
      }
    }
    return Failed(ItemFailure::LogWriteFailed);
  }
  swap.finish();  // the renames are on disk before the journal goes (the files were synced before)
  if (!section.isEmpty()) g_CurrentSection = section;
  ItemOutcome done;
  done.libraryAdded = !section.isEmpty();
  return done;
}

ItemOutcome CatalogueDownload::download(const WebLibItem& item) {
  if (!IsBareFileName(item.toFileName)) return Failed(ItemFailure::BadFileName);
  if (cancelled_) return Failed(ItemFailure::Cancelled);
  if (onStatus) onStatus(item.description);
  Staging staging(targetFolder_);
  if (ItemOutcome prepared = staging.prepare(); !prepared.ok()) return prepared;
  if (ItemOutcome fetched = fetchAndUnpack(item, staging); !fetched.ok()) return fetched;
  if (cancelled_) return Failed(ItemFailure::Cancelled);
  if (staging.entries.empty()) {  // a plain settings file the learner already has
    ItemOutcome kept;
    kept.keptLearnersFile = true;
    return kept;
  }
  return install(item, staging);
}
