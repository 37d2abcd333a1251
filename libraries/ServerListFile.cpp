#include "libraries/ServerListFile.h"

#include "platform/ini/ini.h"

#include <QFileInfo>

namespace {

const QString kMissing = QStringLiteral("Error");

QString ReadListValue(const platform::ProfileSnapshot& list, const QString& section, const QString& key) {
  return list.read(section, key, kMissing);
}

}  // namespace

int LeadingNumber(const QString& text) {
  const QString trimmed = text.trimmed();
  qsizetype digits = 0;
  while (digits < trimmed.size() && trimmed.at(digits) >= u'0' && trimmed.at(digits) <= u'9') ++digits;
  if (digits == 0) return 0;
  bool ok = false;
  const int value = trimmed.left(std::min<qsizetype>(digits, 9)).toInt(&ok);
  return ok ? value : 0;
}

QString ItemNumberText(int item) { return QStringLiteral("%1").arg(item, 2, 10, QLatin1Char('0')); }

QString CategoryKey(int category) {
  return QString(QChar(kCatalogueLetters[category - 1])) + QStringLiteral("C");
}

bool ServerListFitsLimit(const QString& listFile) { return QFileInfo(listFile).size() <= kServerListLimit; }

QString ReadCategoryCount(const platform::ProfileSnapshot& list, const QString& categoryKey) {
  return ReadListValue(list, QStringLiteral("ALL"), categoryKey);
}

QString ReadCategoryCount(const QString& listFile, const QString& categoryKey) {
  return platform::ReadProfileString(listFile, QStringLiteral("ALL"), categoryKey, kMissing);
}

std::optional<ServerListItem> ReadServerListItem(const QString& listFile, const QString& section, int item,
                                                 const QString& language) {
  return ReadServerListItem(platform::ProfileSnapshot(listFile), section, item, language);
}

std::optional<ServerListItem> ReadServerListItem(const platform::ProfileSnapshot& listFile, const QString& section,
                                                 int item, const QString& language) {
  const QString nn = ItemNumberText(item);
  ServerListItem result;
  result.fromFileName = ReadListValue(listFile, section, QStringLiteral("FROM_FILENAME") + nn);
  if (result.fromFileName == kMissing) return std::nullopt;
  result.toFileName = ReadListValue(listFile, section, QStringLiteral("TO_FILENAME") + nn);
  result.description = ReadListValue(listFile, section, QStringLiteral("DESC_") + language + nn);
  result.buildTime = ReadListValue(listFile, section, QStringLiteral("FILENAME") + nn + QStringLiteral("_BUILD_TIME"));
  result.price = ReadListValue(listFile, section, QStringLiteral("PRICE_") + nn);
  const QString volumes = ReadListValue(listFile, section, QStringLiteral("VOLUMN"));
  if (volumes != kMissing && !volumes.isEmpty()) result.parts = LeadingNumber(volumes);
  return result;
}

bool IsFreeItem(const ServerListItem& item) { return item.price == QStringLiteral("FREE"); }

bool IsBareFileName(const QString& name) {
  if (name.isEmpty() || name == QStringLiteral(".") || name == QStringLiteral("..")) return false;
  const bool driveLetter = name.size() >= 2 && name.at(1) == u':';
  return !driveLetter && !name.contains('/') && !name.contains('\\') && !name.contains(QChar(u'\0'));
}

QString BuildTimeText(const QDateTime& time) {
  return time.toLocalTime().toString(QStringLiteral("yyyyMMdd_HH:mm:ss"));
}

bool IsAlreadyNew(const QString& buildTime, const QString& localFile) {
  const QFileInfo file(localFile);
  if (!file.exists() || buildTime == kMissing) return false;
  return buildTime < BuildTimeText(file.lastModified());
}
