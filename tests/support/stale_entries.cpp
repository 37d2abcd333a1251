#include "tests/support/stale_entries.h"

#include <QDirIterator>
#include <QFile>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {

long long DeadProcessId() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  if (child < 0) return 0;
  int status = 0;
  ::waitpid(child, &status, 0);
  return child;
}

QString TemporaryNameOfProcess(const QString& baseName, platform::TemporaryKind kind, long long pid) {
  QString name = platform::NewTemporaryName(baseName, kind);
  const QString own = QStringLiteral(".lexorn2-%1.").arg(static_cast<long long>(::getpid()));
  return name.replace(name.lastIndexOf(own), own.size(), QStringLiteral(".lexorn2-%1.").arg(pid));
}

QMap<QString, QByteArray> FolderSnapshot(const QString& folder) {
  QMap<QString, QByteArray> entries;
  const QString root = folder.endsWith('/') ? folder : folder + '/';
  QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0) continue;
    QByteArray value = QByteArray("uid ") + QByteArray::number(info.st_uid) + " mode " +
                       QByteArray::number(info.st_mode & 07777, 8) + ' ';
    if (S_ISLNK(info.st_mode)) {
      value += "<link> " + QFile::encodeName(QFile::symLinkTarget(path));
    } else if (S_ISDIR(info.st_mode)) {
      value += "<folder>";
    } else {
      QFile file(path);
      value += file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }
    entries.insert(path.mid(root.size()), value);
  }
  return entries;
}

}  // namespace testing_support
