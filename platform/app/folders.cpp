#include "platform/app/folders.h"

#include <QCoreApplication>
#include <QDir>

namespace platform {
namespace {

QString& ProgramFolderOverride() {
  static QString folder;
  return folder;
}

QString WithTrailingSlash(QString folder) {
  if (!folder.endsWith('/')) folder += '/';
  return folder;
}

}  // namespace

QString ProgramFolder() {
  if (!ProgramFolderOverride().isEmpty()) return ProgramFolderOverride();
  return WithTrailingSlash(QCoreApplication::applicationDirPath());
}

QString ProfileFolder() {
  const QString profile = qEnvironmentVariable("USERPROFILE");
  if (!profile.isEmpty()) return WithTrailingSlash(profile);
  return WithTrailingSlash(QDir::homePath());
}

void SetProgramFolder(const QString& folder) {
  ProgramFolderOverride() = folder.isEmpty() ? QString() : WithTrailingSlash(folder);
}

}  // namespace platform
