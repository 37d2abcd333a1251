#include "core/system_utils_bas.h"

#include "platform/ini/ini.h"

namespace {

qsizetype LastSeparator(const QString& path) { return qMax(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\')); }

}  // namespace

QString GetFolderPart(const QString& path) {
  const QString trimmed = path.trimmed();
  return trimmed.left(LastSeparator(trimmed) + 1).trimmed();
}

QString GetFileNamePart(const QString& path) {
  const QString trimmed = path.trimmed();
  return trimmed.mid(LastSeparator(trimmed) + 1).trimmed();
}

QString ReadIniUnicode(const QString& file, const QString& section, const QString& key, int bufferChars) {
  QString value = platform::ReadProfileStringUnicode(file, section, key, QStringLiteral("Error"), bufferChars);
  value.remove(QChar(u'\0'));
  return value;
}

double GetWindowsVersion() {
  constexpr int kMajor = 6;
  constexpr int kMinor = 1;
  return (kMajor * 100 + kMinor) / 100.0;
}

void SendStepNoOp(const QString& /*code*/, const QString& /*description*/) {}
