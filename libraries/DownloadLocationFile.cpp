#include "libraries/DownloadLocationFile.h"

#include "platform/app/folders.h"
#include "platform/ini/ini.h"

namespace {

const QString kMissing = QStringLiteral("Error");
const QString kSection = QStringLiteral("DOWNLOADFROM");

QString ReadLocationValue(const QString& fileName, const QString& key) {
  return platform::ReadProfileString(platform::ProgramFolder() + fileName, kSection, key, kMissing);
}

}  // namespace

DownloadLocation ReadDownloadLocation(const QString& fileName) {
  DownloadLocation location;
  location.newPath = ReadLocationValue(fileName, QStringLiteral("NewPath"));
  location.overridden = location.newPath != kMissing;
  if (location.overridden) location.newFileName = ReadLocationValue(fileName, QStringLiteral("NewFileName"));
  return location;
}

QString CatalogueAddress() {
  const DownloadLocation location = ReadDownloadLocation(QString::fromUtf16(kCatalogueLocationFile));
  if (location.overridden) return location.newPath + location.newFileName;
  return QString::fromUtf16(kDefaultWebFolder) + QString::fromUtf16(kServerListName);
}

QString LibraryBaseAddress() {
  const DownloadLocation location = ReadDownloadLocation(QString::fromUtf16(kServerLocationFile));
  return location.overridden ? location.newPath : QString::fromUtf16(kDefaultWebFolder);
}
