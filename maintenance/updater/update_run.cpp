#include "maintenance/updater/update_run.h"

#include "libraries/CFileDownload.h"
#include "libraries/DownloadLocationFile.h"
#include "libraries/ServerListFile.h"
#include "libraries/download_log.h"
#include "maintenance/installer_settings.h"
#include "maintenance/updater/update_policy.h"
#include "maintenance/updater/update_rules.h"
#include "platform/app/folders.h"
#include "platform/app/termination_signals.h"
#include "platform/files/own_temporary_names.h"
#include "platform/ini/ini.h"

#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <filesystem>
#include <optional>

namespace {

const QString kMissing = QStringLiteral("Error");

struct ListSource {
  QString address;      // where the update list is fetched from
  QString baseAddress;  // put in front of FROM_FILENAME for the passes without FROM_PATH
};

ListSource UpdateListSource() {
  const DownloadLocation location = ReadDownloadLocation(QString::fromUtf16(kServerLocationFile));
  if (location.overridden) return {location.newPath + location.newFileName, location.newPath};
  return {QString::fromUtf16(kDefaultUpdateFolder) + QString::fromUtf16(kServerListName), QString()};
}

bool IsSet(const QString& value) { return !value.isEmpty() && value != kMissing; }

UpdateRefusal RefusalOfDownloadFailure(platform::DownloadFailure failure) {
  switch (failure) {
    case platform::DownloadFailure::TooLarge: return UpdateRefusal::TooLarge;
    case platform::DownloadFailure::NoSpace: return UpdateRefusal::NoSpace;
    default: return UpdateRefusal::DownloadFailed;
  }
}

// One new download object per file, released when the file is done. An address the update
// policy does not accept is never handed to the download, and a redirect leads only to https:
// a loopback server may not pass the run on to a plain-http one.
std::optional<UpdateRefusal> Download(const QString& address, const QString& localFile,
                                      std::int64_t maxBytes = platform::kDefaultDownloadLimit) {
  if (!IsAcceptedUpdateAddress(address)) return UpdateRefusal::InsecureAddress;
  CFileDownload download;
  download.SetMaxBytes(maxBytes);
  download.SetHttpsRedirectsOnly(true);
  if (!download.StartDownloading(address, localFile)) return RefusalOfDownloadFailure(download.LastFailure());
  return std::nullopt;
}

// Renames the checked download over the item's file; the file keeps the permission bits of the
// file it replaces (an updated program stays executable).
bool MoveIntoPlace(const QString& staged, const QString& localFile) {
  const QByteArray from = QFile::encodeName(staged);
  const QByteArray to = QFile::encodeName(localFile);
  std::error_code error;
  if (std::filesystem::exists(to.constData(), error)) {
    const auto permissions = std::filesystem::status(to.constData(), error).permissions();
    if (error) return false;
    std::filesystem::permissions(from.constData(), permissions, error);
    if (error) return false;
  }
  std::filesystem::rename(from.constData(), to.constData(), error);
  return !error;
}

// Fetches one item next to its file, checks what came, and only then replaces the file. A file
// that ran as a program is replaced only by a program of this machine.
std::optional<UpdateRefusal> FetchItem(const QString& address, const QString& localFile) {
  // Named as the program's own temporary files, so the next start of the word program removes one
  // that a killed run left behind.
  const QString staged = platform::ProgramFolder() +
                         platform::NewTemporaryName(QFileInfo(localFile).fileName(), platform::TemporaryKind::Download);
  std::optional<UpdateRefusal> refusal = Download(address, staged);
  if (!refusal && IsExecutableFile(localFile) && !IsProgramOfThisMachine(staged)) refusal = UpdateRefusal::NotAProgram;
  if (!refusal && !MoveIntoPlace(staged, localFile)) refusal = UpdateRefusal::DownloadFailed;
  if (refusal) QFile::remove(staged);
  return refusal;
}

void RunPass(const UpdatePass& pass, const QString& listFile, const QString& runBaseAddress,
             const QString& language, const ShowFetchedItem& showItem, UpdateOutcome& outcome) {
  for (int number = pass.firstItem; number <= pass.lastItem; ++number) {
    if (platform::TerminationRequested()) {
      outcome.interrupted = true;
      return;
    }
    const std::optional<ServerListItem> item = ReadServerListItem(listFile, pass.section, number, language);
    if (!item) continue;  // gaps in the numbering do not end the pass
    if (const auto refused = UpdateTargetRefusal(item->toFileName)) {
      // A missing TO_FILENAME reads "Error": the item is named by its source then.
      outcome.failures.push_back({item->toFileName == kMissing ? item->fromFileName : item->toFileName, *refused});
      continue;
    }
    const QString localFile = platform::ProgramFolder() + item->toFileName;
    // A folder is never the item's file, however recent it is, and a file cannot replace it.
    if (QFileInfo(localFile).isDir()) {
      outcome.failures.push_back({item->toFileName, UpdateRefusal::FolderInTheWay});
      continue;
    }
    if (!IsUpdateDue(item->buildTime, localFile)) continue;

    const QString baseAddress =
        pass.fromPathSection.isEmpty()
            ? runBaseAddress
            : platform::ReadProfileString(listFile, pass.fromPathSection,
                                          QStringLiteral("FROM_PATH") + ItemNumberText(number), kMissing);
    if (!pass.fromPathSection.isEmpty() && !IsSet(baseAddress)) {
      outcome.failures.push_back({item->toFileName, UpdateRefusal::NoAddress});
      continue;
    }
    showItem(item->description != kMissing ? item->description : item->toFileName);
    if (const auto refused = FetchItem(baseAddress + item->fromFileName, localFile)) {
      // Cut off by the program's end: the item is not at fault, and is tried on the next start.
      if (platform::TerminationRequested()) {
        outcome.interrupted = true;
        return;
      }
      outcome.failures.push_back({item->toFileName, *refused});
      continue;
    }
    ++outcome.fetched;
    outcome.fetchedLine = item->fromFileName + QStringLiteral("->") + item->toFileName;
    if (!AppendDownloadLog(item->fromFileName, item->toFileName)) outcome.logWritten = false;
  }
}

// Writes the run's keys and tells whether every one of them was written.
bool WriteResults(const UpdateRunParameters& parameters, const UpdateOutcome& outcome) {
  const QString settings = installer::SettingsFile();
  bool written = true;
  if (parameters.fetchedLineKey) {
    const InstallerKey& key = *parameters.fetchedLineKey;
    written = outcome.fetchedLine.isEmpty() ? platform::DeleteProfileKey(settings, key.section, key.key) != 0
                                            : platform::WriteProfileString(settings, key.section, key.key,
                                                                           outcome.fetchedLine) != 0;
  }
  return platform::WriteProfileString(settings, parameters.resultSection, QStringLiteral("RESULT"),
                                      outcome.resultLine) != 0 &&
         written;
}

}  // namespace

UpdateOutcome RunUpdate(const UpdateRunParameters& parameters, const QString& language,
                        const ShowFetchedItem& showItem) {
  UpdateOutcome outcome;
  const ListSource source = UpdateListSource();
  const QString listFile = platform::ProgramFolder() + QString::fromUtf16(kUpdateListFile);
  outcome.listAddress = source.address;
  // A list that cannot be fetched is reported; an older copy in the folder is not walked.
  const std::optional<UpdateRefusal> listRefusal = Download(source.address, listFile, kServerListLimit);
  outcome.listFetched = !listRefusal;
  // A list has a smaller limit than the items, which the items' text names: a list too large is
  // reported as not fetched.
  if (listRefusal) outcome.listFailure = *listRefusal == UpdateRefusal::TooLarge ? UpdateRefusal::DownloadFailed : *listRefusal;
  outcome.interrupted = platform::TerminationRequested();
  if (outcome.listFetched) {
    for (const UpdatePass& pass : parameters.passes) {
      if (outcome.interrupted) break;
      RunPass(pass, listFile, source.baseAddress, language, showItem, outcome);
    }
  }
  outcome.resultLine = UpdateResultText(language, outcome);
  // Without the list nothing was looked at, and a run cut short has no result: no key is
  // written, an earlier result stays. The files fetched so far are in place and logged.
  if (outcome.listFetched && !outcome.interrupted) outcome.resultWritten = WriteResults(parameters, outcome);
  return outcome;
}
