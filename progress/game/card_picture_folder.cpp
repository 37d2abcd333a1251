#include "progress/game/card_picture_folder.h"

#include "core/vars_bas.h"

#include <QDir>
#include <QTemporaryDir>

#include <memory>

namespace {

// Owned here so that the folder is removed at the latest when the program ends.
std::unique_ptr<QTemporaryDir>& CurrentFolder() {
  static std::unique_ptr<QTemporaryDir> folder;
  return folder;
}

}  // namespace

bool CreateCardPictureFolder() {
  RemoveCardPictureFolder();
  auto folder = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/lexorn-cards-XXXXXX"));
  if (!folder->isValid()) return false;
  g_TempFolder = folder->path() + QLatin1Char('/');
  CurrentFolder() = std::move(folder);
  return true;
}

void RemoveCardPictureFolder() {
  CurrentFolder().reset();  // the folder's destructor removes it with its pictures
  g_TempFolder.clear();
}
