#include "platform/files/own_temporary_names.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringList>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr int kRandomLength = 12;
constexpr char kRandomAlphabet[] = "0123456789abcdefghijklmnopqrstuvwxyz";
// The kernel's own upper bound for pid_max, used when the limit cannot be read.
constexpr long long kLargestPidMax = 4194304;

struct KindWord {
  TemporaryKind kind;
  const char* word;
};
constexpr KindWord kKindWords[] = {
    {TemporaryKind::Write, "tmp"},
    {TemporaryKind::Download, "download"},
    {TemporaryKind::Unpack, "unpack"},
    {TemporaryKind::Keep, "keep"},
};

QString KindText(TemporaryKind kind) {
  for (const KindWord& entry : kKindWords) {
    if (entry.kind == kind) return QString::fromLatin1(entry.word);
  }
  return {};
}

// The largest process id the system gives: pid_max is one above it.
long long LargestProcessId() {
  static const long long largest = [] {
    long long limit = kLargestPidMax;
    if (std::FILE* file = std::fopen("/proc/sys/kernel/pid_max", "re")) {
      long long read = 0;
      if (std::fscanf(file, "%lld", &read) == 1 && read > 1 && read <= kLargestPidMax) limit = read;
      std::fclose(file);
    }
    return limit - 1;
  }();
  return largest;
}

std::filesystem::path FsPath(const QByteArray& name) { return std::filesystem::path(name.toStdString()); }

bool IsOwnedDirectory(const QByteArray& path) {
  struct stat info {};
  return ::lstat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid();
}

// A private folder as PrivateFolder and the download make it: readable by its owner only, holding
// nothing but the download's two subfolders (either may not have been made yet).
bool IsPrivateFolderLayout(const QByteArray& path, const struct stat& info) {
  if (!S_ISDIR(info.st_mode) || (info.st_mode & 07777) != 0700) return false;
  const QStringList inside = QDir(QFile::decodeName(path))
                                 .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  for (const QString& name : inside) {
    if (name != QLatin1String("downloads") && name != QLatin1String("files")) return false;
    if (!IsOwnedDirectory(path + '/' + QFile::encodeName(name))) return false;
  }
  return true;
}

bool RemoveEntry(const QByteArray& path, bool folder) {
  std::error_code error;
  if (folder) return std::filesystem::remove_all(FsPath(path), error) > 0 && !error;
  return ::unlink(path.constData()) == 0;
}

// Puts a kept entry back under its own name, never over an entry that took the name meanwhile.
bool PutBack(const QByteArray& kept, const QByteArray& target) {
  if (::renameat2(AT_FDCWD, kept.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  struct stat existing {};
  if (::lstat(target.constData(), &existing) == 0 || errno != ENOENT) return false;
  return ::rename(kept.constData(), target.constData()) == 0;
}

// Ends what a dead process left of one entry; true when something was removed or put back.
bool Settle(const QByteArray& folder, const QString& fileName, const TemporaryName& name) {
  const QByteArray path = folder + QFile::encodeName(fileName);
  struct stat info {};
  if (::lstat(path.constData(), &info) != 0 || info.st_uid != ::geteuid()) return false;
  switch (name.kind) {
    case TemporaryKind::Write:
    case TemporaryKind::Download:
      return S_ISREG(info.st_mode) && RemoveEntry(path, false);
    case TemporaryKind::Unpack:
      return name.baseName == PrivateFolderBaseName() && IsPrivateFolderLayout(path, info) && RemoveEntry(path, true);
    case TemporaryKind::Keep: {
      if (!S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode) && !S_ISLNK(info.st_mode)) return false;
      const QByteArray target = folder + QFile::encodeName(name.baseName);
      struct stat current {};
      if (::lstat(target.constData(), &current) != 0) return errno == ENOENT && PutBack(path, target);
      // The new entry holds the name (or the old one still does, under both names): the replacement
      // is finished by removing the old entry kept aside.
      return RemoveEntry(path, S_ISDIR(info.st_mode));
    }
  }
  return false;
}

}  // namespace

QString NewTemporaryName(const QString& baseName, TemporaryKind kind) {
  constexpr int kLetters = static_cast<int>(sizeof kRandomAlphabet) - 1;
  QString random(kRandomLength, u'0');
  for (QChar& letter : random) letter = QLatin1Char(kRandomAlphabet[QRandomGenerator::global()->bounded(kLetters)]);
  // One pass over all parts: a "%1" in a file name stays as it is.
  return QStringLiteral(".%1.lexorn2-%2.%3-%4")
      .arg(baseName, QString::number(static_cast<long long>(::getpid())), KindText(kind), random);
}

std::optional<TemporaryName> ParseTemporaryName(const QString& fileName) {
  static const QRegularExpression pattern(
      QStringLiteral("^\\.(.+)\\.lexorn2-([1-9][0-9]{0,6})\\.(tmp|download|unpack|keep)-[0-9a-z]{%1}$")
          .arg(kRandomLength));
  const QRegularExpressionMatch match = pattern.match(fileName);
  if (!match.hasMatch()) return std::nullopt;
  const long long pid = match.captured(2).toLongLong();
  if (pid > LargestProcessId()) return std::nullopt;
  const QString word = match.captured(3);
  for (const KindWord& entry : kKindWords) {
    if (word == QLatin1String(entry.word)) return TemporaryName{match.captured(1), entry.kind, pid};
  }
  return std::nullopt;
}

QString PrivateFolderBaseName() { return QStringLiteral("download"); }

bool ProcessIsRunning(long long pid) {
  if (pid <= 0 || pid > LargestProcessId()) return false;
  return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
}

int RemoveStaleTemporaryFiles(const std::vector<TemporaryScope>& scopes) {
  int settled = 0;
  for (const TemporaryScope& scope : scopes) {
    if (scope.folder.isEmpty() || !scope.isCandidate) continue;
    QByteArray folder = QFile::encodeName(scope.folder);
    if (!folder.endsWith('/')) folder += '/';
    const QStringList names = QDir(QFile::decodeName(folder))
                                  .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& fileName : names) {
      const std::optional<TemporaryName> name = ParseTemporaryName(fileName);
      if (!name || !scope.isCandidate(*name) || ProcessIsRunning(name->pid)) continue;
      if (Settle(folder, fileName, *name)) ++settled;
    }
  }
  return settled;
}

}  // namespace platform
