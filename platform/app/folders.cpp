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

QString UserCacheFolder() {
  const QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
  const QString base = cache.isEmpty() ? ProfileFolder() + QStringLiteral(".cache/") : WithTrailingSlash(cache);
  return base + QStringLiteral("CorvelsLexorn2/");
}

void SetProgramFolder(const QString& folder) {
  ProgramFolderOverride() = folder.isEmpty() ? QString() : WithTrailingSlash(folder);
}

}  // namespace platform
