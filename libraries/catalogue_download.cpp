#include "libraries/catalogue_download.h"

#include "core/do_loading_bas.h"
#include "libraries/ServerListFile.h"
#include "libraries/download_log.h"
#include "libraries/library_list.h"
#include "platform/archive/zip_archive.h"

#include <QFileInfo>

#include <optional>
#include <utility>

namespace {

const QString kLibraryExtension = QStringLiteral(".abc");
const QString kArchiveExtension = QStringLiteral(".zip");
const QString kFirstPart = QStringLiteral(".part1");

// The library's name: the file name before its ".zip", without a ".part1" ending.
QString ArchiveLibraryName(const QString& toFileName) {
  QString name = toFileName.left(toFileName.indexOf(kArchiveExtension));
  if (name.endsWith(kFirstPart)) name.chop(kFirstPart.size());
  return name;
}

QString PartName(const QString& text, int part) {
  QString result = text;
  return result.replace(kFirstPart, QStringLiteral(".part%1").arg(part));
}

}  // namespace

CatalogueDownload::CatalogueDownload(QString baseAddress, QString targetFolder)
    : baseAddress_(std::move(baseAddress)), targetFolder_(std::move(targetFolder)) {}

void CatalogueDownload::abort() {
  if (running_) running_->AbortDownloading();
}

bool CatalogueDownload::fetch(const QString& source, const QString& target) {
  running_ = std::make_shared<CFileDownload>();
  const std::shared_ptr<CFileDownload> download = running_;
  download->OnProgress = [this](std::int32_t received, std::int32_t total, std::int32_t, const QString&) {
    if (onProgress) onProgress(received, total);
  };
  const bool fetched = download->StartDownloading(source, target);
  download->OnProgress = nullptr;
  running_.reset();
  return fetched;
}

ItemFailure CatalogueDownload::download(const WebLibItem& item) {
  if (!IsBareFileName(item.toFileName)) return ItemFailure::BadFileName;
  const QString source = baseAddress_ + item.fromFileName;
  const QString target = targetFolder_ + item.toFileName;
  if (onStatus) onStatus(item.description);
  if (!fetch(source, target)) return ItemFailure::Download;

  std::optional<std::pair<QString, QString>> library;  // code and name of the library to register
  if (item.toFileName.contains(kArchiveExtension)) {
    if (const ItemFailure failure = unpack(item, target); failure != ItemFailure::None) return failure;
    const QString name = ArchiveLibraryName(item.toFileName);
    const QString libraryFile = targetFolder_ + name + kLibraryExtension;
    // Read-only probe: an archive that lacked the library must not leave an empty file behind.
    if (!QFileInfo(libraryFile).isFile()) return ItemFailure::NoLibraryFile;
    library.emplace(ReadLibraryHeader(libraryFile), name);
  } else if (item.toFileName.contains(kLibraryExtension)) {
    library.emplace(ReadLibraryHeader(target), item.toFileName.left(item.toFileName.indexOf(kLibraryExtension)));
  }
  if (library) {
    RegisterDownloadedLibrary(targetFolder_, library->first, library->second);
    g_CurrentSection = LibrarySectionName(library->first, library->second);
  }
  AppendDownloadLog(item.fromFileName, target);
  return ItemFailure::None;
}

ItemFailure CatalogueDownload::unpack(const WebLibItem& item, const QString& target) {
  if (platform::UnpackZip(target, targetFolder_) != platform::UnpackResult::Unpacked) return ItemFailure::Unpack;
  if (!item.toFileName.contains(kFirstPart)) return ItemFailure::None;
  for (int part = 2; part <= item.parts; ++part) {
    if (onStatus) onStatus(QStringLiteral("part %1").arg(part));
    const QString partTarget = targetFolder_ + PartName(item.toFileName, part);
    if (!fetch(baseAddress_ + PartName(item.fromFileName, part), partTarget)) return ItemFailure::Download;
    if (platform::UnpackZip(partTarget, targetFolder_) != platform::UnpackResult::Unpacked) return ItemFailure::Unpack;
  }
  return ItemFailure::None;
}
