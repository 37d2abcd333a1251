#include "progress/scoreboard/forum_site.h"

#include "core/read_ini_bas.h"

namespace scoreboard {

QString ForumRoot() {
  QString root = ReadSetting(QStringLiteral("ForumRoot"), QStringLiteral("http://forum.corvel-lexorn.net/"));
  if (!root.endsWith(QLatin1Char('/'))) root += QLatin1Char('/');
  return root;
}

QString ThreadTitle(const QString& sourceLang, const QString& targetLang, const QString& fileName) {
  return sourceLang + targetLang + kThreadSerial + QStringLiteral("::") + fileName;
}

QString ThreadAccount(const QString& titleHead) { return titleHead.trimmed() + kAccountSuffix; }

}  // namespace scoreboard
