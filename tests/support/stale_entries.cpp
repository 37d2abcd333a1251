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
  const QString name = platform::NewTemporaryName(baseName, kind);
  const QString own = QStringLiteral("-%1.").arg(static_cast<long long>(::getpid()));
  const qsizetype at = name.lastIndexOf(own);
  return name.left(at) + QStringLiteral("-%1.").arg(pid) + name.mid(at + own.size());
}

QByteArray EntrySnapshot(const QString& path) {
  struct stat info {};
  if (::lstat(QFile::encodeName(path).constData(), &info) != 0) return "<missing>";
  QByteArray value =
      QByteArray("uid ") + QByteArray::number(info.st_uid) + " mode " + QByteArray::number(info.st_mode & 07777, 8) + ' ';
  if (S_ISLNK(info.st_mode)) return value + "<link> " + QFile::encodeName(QFile::symLinkTarget(path));
  if (S_ISDIR(info.st_mode)) return value + "<folder>";
  QFile file(path);
  return value + (file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>"));
}

QMap<QString, QByteArray> FolderSnapshot(const QString& folder) {
  QMap<QString, QByteArray> entries;
  const QString root = folder.endsWith('/') ? folder : folder + '/';
  QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    entries.insert(path.mid(root.size()), EntrySnapshot(path));
  }
  return entries;
}

std::string SnapshotDifference(const QMap<QString, QByteArray>& expected, const QMap<QString, QByteArray>& actual) {
  QStringList lines;
  for (auto it = expected.begin(); it != expected.end(); ++it) {
    if (!actual.contains(it.key())) {
      lines << "missing: " + it.key();
    } else if (actual.value(it.key()) != it.value()) {
      lines << "changed: " + it.key() + " (" + QString::fromUtf8(actual.value(it.key()).left(60)) + ")";
    }
  }
  for (auto it = actual.begin(); it != actual.end(); ++it) {
    if (!expected.contains(it.key())) lines << "added: " + it.key();
  }
  return lines.join('\n').toStdString();
}

}  // namespace testing_support
