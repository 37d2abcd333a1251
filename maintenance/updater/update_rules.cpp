#include "maintenance/updater/update_rules.h"

#include "libraries/ServerListFile.h"

#include <QFileInfo>

namespace {

// The build-time form, one character per position: 'd' a digit, anything else itself.
constexpr char16_t kBuildTimeForm[] = u"dddddddd_dd:dd:dd";

bool IsKnownBuildTime(const QString& buildTime) {
  const QStringView form(kBuildTimeForm);
  if (buildTime.size() != form.size()) return false;
  for (qsizetype i = 0; i < form.size(); ++i) {
    const QChar c = buildTime[i];
    const bool matches = form[i] == u'd' ? (c >= u'0' && c <= u'9') : c == form[i];
    if (!matches) return false;
  }
  return true;
}

}  // namespace

bool IsUpdateDue(const QString& buildTime, const QString& localFile) {
  const QFileInfo file(localFile);
  if (!file.exists()) return true;
  return IsKnownBuildTime(buildTime) && buildTime > BuildTimeText(file.lastModified());
}
