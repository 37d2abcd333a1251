#include "libraries/download_log.h"

#include "platform/app/folders.h"
#include "platform/ini/ini.h"

#include <QDateTime>

namespace {

const QString kMissing = QStringLiteral("Error");
const QString kKey = QStringLiteral("File");

}  // namespace

bool AppendDownloadLog(const QString& source, const QString& target) {
  const QString file = platform::ProgramFolder() + QString::fromUtf16(kDownloadLogFile);
  const QString stamp = QDateTime::currentDateTime().toString(Qt::ISODate);
  QString section;
  for (int sequence = 1;; ++sequence) {
    section = stamp + QStringLiteral("_%1").arg(sequence);
    if (platform::ReadProfileString(file, section, kKey, kMissing) == kMissing) break;
  }
  return platform::WriteProfileString(file, section, kKey, source + QStringLiteral("->") + target) != 0;
}
