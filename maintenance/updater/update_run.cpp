#include "maintenance/updater/update_run.h"

#include "libraries/CFileDownload.h"
#include "libraries/DownloadLocationFile.h"
#include "libraries/ServerListFile.h"
#include "libraries/download_log.h"
#include "maintenance/installer_settings.h"
#include "maintenance/updater/update_rules.h"
#include "platform/app/folders.h"
#include "platform/ini/ini.h"

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

// One new download object per file, released when the file is done.
bool Download(const QString& address, const QString& localFile) {
  CFileDownload download;
  return download.StartDownloading(address, localFile);
}

void RunPass(const UpdatePass& pass, const QString& listFile, const QString& runBaseAddress,
             const QString& language, const ShowFetchedItem& showItem, UpdateOutcome& outcome) {
  for (int number = pass.firstItem; number <= pass.lastItem; ++number) {
    const std::optional<ServerListItem> item = ReadServerListItem(listFile, pass.section, number, language);
    if (!item) continue;  // gaps in the numbering do not end the pass
    // The file must stay inside the program folder; a missing TO_FILENAME names no file at all.
    if (item->toFileName == kMissing || !IsBareFileName(item->toFileName)) {
      ++outcome.failed;
      continue;
    }
    const QString localFile = platform::ProgramFolder() + item->toFileName;
    if (!IsUpdateDue(item->buildTime, localFile)) continue;

    showItem(item->description != kMissing ? item->description : item->toFileName);
    const QString baseAddress =
        pass.fromPathSection.isEmpty()
            ? runBaseAddress
            : platform::ReadProfileString(listFile, pass.fromPathSection,
                                          QStringLiteral("FROM_PATH") + ItemNumberText(number), kMissing);
    if (!Download(baseAddress + item->fromFileName, localFile)) {
      ++outcome.failed;
      continue;
    }
    ++outcome.fetched;
    outcome.fetchedLine = item->fromFileName + QStringLiteral("->") + item->toFileName;
    AppendDownloadLog(item->fromFileName, item->toFileName);
  }
}

void WriteResults(const UpdateRunParameters& parameters, const QString& language, const UpdateOutcome& outcome) {
  const QString settings = installer::SettingsFile();
  if (parameters.fetchedLineKey) {
    const InstallerKey& key = *parameters.fetchedLineKey;
    if (outcome.fetchedLine.isEmpty()) {
      platform::DeleteProfileKey(settings, key.section, key.key);
    } else {
      platform::WriteProfileString(settings, key.section, key.key, outcome.fetchedLine);
    }
  }
  platform::WriteProfileString(settings, parameters.resultSection, QStringLiteral("RESULT"),
                               UpdateResultText(language, outcome));
}

}  // namespace

UpdateOutcome RunUpdate(const UpdateRunParameters& parameters, const QString& language,
                        const ShowFetchedItem& showItem) {
  UpdateOutcome outcome;
  const ListSource source = UpdateListSource();
  const QString listFile = platform::ProgramFolder() + QString::fromUtf16(kUpdateListFile);
  // A list that cannot be fetched is reported; an older copy in the folder is not walked.
  outcome.listFetched = Download(source.address, listFile);
  if (outcome.listFetched) {
    for (const UpdatePass& pass : parameters.passes) {
      RunPass(pass, listFile, source.baseAddress, language, showItem, outcome);
    }
  }
  WriteResults(parameters, language, outcome);
  return outcome;
}
