#include "libraries/web_catalogue.h"

#include "core/read_ini_bas.h"
#include "core/vars_bas.h"
#include "libraries/ServerListFile.h"
#include "platform/ini/ini.h"

#include <QDir>

namespace {

constexpr int kCategoryRows = 30;
// Categories the download scans: the twelve of the catalogue and two spare rows.
constexpr int kScannedCategories = 14;
const QString kMissing = QStringLiteral("Error");
const QString kLibraryFolderName = QStringLiteral("Corvel's Lexorn Library/");

QString ReadInstallerValue(const QString& key) {
  return platform::ReadProfileString(InstallerSettingsFile(), QStringLiteral("GLOBAL"), key, kMissing);
}

QString UserDataFolder() {
  const QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
  if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg)) return xdg;
  return QDir::homePath() + QStringLiteral("/.local/share");
}

}  // namespace

void EnsureWebCatalogueTables() {
  if (g_WebCategories.size() < kCategoryRows + 1) g_WebCategories.resize(kCategoryRows + 1);
  if (g_WebLibChecked.size() < kCategoryRows + 1) g_WebLibChecked.resize(kCategoryRows + 1);
  for (auto& rows : g_WebLibChecked) {
    if (rows.size() < kMaxCatalogueItems + 1) rows.resize(kMaxCatalogueItems + 1);
  }
}

void ClearWebCatalogueMarks() {
  EnsureWebCatalogueTables();
  for (auto& rows : g_WebLibChecked) {
    for (WebLibItem& item : rows) {
      if (item.checked == QStringLiteral("1")) item.checked = QStringLiteral("0");
    }
  }
}

std::vector<std::pair<int, int>> CheckedWebItems() {
  EnsureWebCatalogueTables();
  std::vector<std::pair<int, int>> items;
  for (int category = 1; category <= kScannedCategories; ++category) {
    const int rows = std::min(g_WebCategories[category].itemCount, kMaxCatalogueItems);
    for (int row = 1; row <= rows; ++row) {
      if (g_WebLibChecked[category][row].checked == QStringLiteral("1")) items.emplace_back(category, row);
    }
  }
  return items;
}

QString ProposedLibraryFolder() {
  QString base = ReadInstallerValue(QStringLiteral("LIBPATH"));
  if (base == kMissing || base.trimmed().isEmpty()) base = UserDataFolder();
  return ResolveDownloadFolder(base) + kLibraryFolderName;
}

QString ResolveDownloadFolder(const QString& typed) {
  QString folder = typed.trimmed();
  if (folder.isEmpty()) return {};
  folder.replace('\\', '/');
  if (QDir::isRelativePath(folder)) folder = QDir::homePath() + '/' + folder;
  folder = QDir::cleanPath(folder);
  return folder.endsWith('/') ? folder : folder + '/';
}

QString InstallerLanguage() { return ReadInstallerValue(QStringLiteral("LANGUAGE")); }
