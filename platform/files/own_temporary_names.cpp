#include "platform/files/own_temporary_names.h"

#include "platform/files/entry_swap.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringList>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <set>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr int kRandomLength = 12;
// The longest name a Linux file system takes, in bytes.
constexpr qsizetype kLongestName = 255;
// The longest base name kept whole: the rest of a name takes at most
// "." + ".lexorn2-" + 7 digits of process id + "." + "download" + "-" + the random part.
constexpr qsizetype kLongestWholeBase = kLongestName - (1 + 9 + 7 + 1 + 8 + 1 + kRandomLength);
// A cut name adds "~" and the digest of the whole base name.
constexpr int kDigestLength = 8;
constexpr qsizetype kLongestCutBase = kLongestWholeBase - 1 - kDigestLength;
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

// The first bytes of the digest of a whole base name, in hex.
QString DigestOf(const QString& baseName) {
  const QByteArray hash = QCryptographicHash::hash(baseName.toUtf8(), QCryptographicHash::Sha256);
  return QString::fromLatin1(hash.left(kDigestLength / 2).toHex());
}

// The start of a base name that fits in `bytes` bytes of UTF-8, never cutting a character.
QString CutToFit(const QString& baseName, qsizetype bytes) {
  QString cut;
  qsizetype used = 0;
  for (qsizetype at = 0; at < baseName.size();) {
    const qsizetype units = baseName.at(at).isHighSurrogate() && at + 1 < baseName.size() ? 2 : 1;
    const QString character = baseName.mid(at, units);
    used += character.toUtf8().size();
    if (used > bytes) break;
    cut += character;
    at += units;
  }
  return cut;
}

}  // namespace

QString NameFittedTo(const QString& name, qsizetype bytes) {
  if (name.toUtf8().size() <= bytes) return name;
  return CutToFit(name, bytes - 1 - kDigestLength) + QLatin1Char('~') + DigestOf(name);
}

namespace {

std::filesystem::path FsPath(const QByteArray& name) { return std::filesystem::path(name.toStdString()); }

bool IsOwnedDirectory(const QByteArray& path) {
  struct stat info {};
  return ::lstat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid();
}

// A private folder as PrivateFolder and the download make it: readable by its owner only, holding
// nothing but the download's two subfolders (either may not have been made yet) and the journal of
// a replacement.
bool IsPrivateFolderLayout(const QByteArray& path, const struct stat& info) {
  if (!S_ISDIR(info.st_mode) || (info.st_mode & 07777) != 0700) return false;
  const QStringList inside = QDir(QFile::decodeName(path))
                                 .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  for (const QString& name : inside) {
    const QByteArray entry = path + '/' + QFile::encodeName(name);
    if (name == ReplaceJournalName()) {
      struct stat journal {};
      if (::lstat(entry.constData(), &journal) != 0 || !S_ISREG(journal.st_mode)) return false;
      continue;
    }
    if (name != QLatin1String("downloads") && name != QLatin1String("files")) return false;
    if (!IsOwnedDirectory(entry)) return false;
  }
  return true;
}

bool HoldsJournal(const QByteArray& privateFolder) {
  struct stat info {};
  return ::lstat((privateFolder + '/' + QFile::encodeName(ReplaceJournalName())).constData(), &info) == 0;
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
      // A replacement's journal is settled first; a journal that cannot be followed keeps the
      // folder, and with it every old entry it may hold.
      return name.baseName == PrivateFolderBaseName() && IsPrivateFolderLayout(path, info) &&
             RecoverEntrySwap(QFile::decodeName(path), name.pid) && RemoveEntry(path, true);
    case TemporaryKind::Keep: {
      if (!S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode) && !S_ISLNK(info.st_mode)) return false;
      if (!name.cutDigest.isEmpty()) return false;  // its whole name is nowhere to be found
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
  QString base = baseName;
  QString marker = QStringLiteral("lexorn2");
  if (baseName.toUtf8().size() > kLongestWholeBase) {
    base = CutToFit(baseName, kLongestCutBase);
    marker += QLatin1Char('~') + DigestOf(baseName);
  }
  // One pass over all parts: a "%1" in a file name stays as it is.
  return QStringLiteral(".%1.%2-%3.%4-%5")
      .arg(base, marker, QString::number(static_cast<long long>(::getpid())), KindText(kind), random);
}

std::optional<TemporaryName> ParseTemporaryName(const QString& fileName) {
  static const QRegularExpression pattern(
      QStringLiteral("^\\.(.+)\\.lexorn2(?:~([0-9a-f]{%1}))?-([1-9][0-9]{0,6})\\.(tmp|download|unpack|keep)-[0-9a-z]{%2}$")
          .arg(kDigestLength)
          .arg(kRandomLength),
      QRegularExpression::DotMatchesEverythingOption);  // a base name may hold any character but "/"
  const QRegularExpressionMatch match = pattern.match(fileName);
  if (!match.hasMatch()) return std::nullopt;
  const long long pid = match.captured(3).toLongLong();
  if (pid > LargestProcessId()) return std::nullopt;
  const QString word = match.captured(4);
  for (const KindWord& entry : kKindWords) {
    if (word == QLatin1String(entry.word)) return TemporaryName{match.captured(1), entry.kind, pid, match.captured(2)};
  }
  return std::nullopt;
}

bool TemporaryName::standsFor(const QString& base) const {
  if (cutDigest.isEmpty()) return base == baseName;
  return base.toUtf8().size() > kLongestWholeBase && CutToFit(base, kLongestCutBase) == baseName &&
         DigestOf(base) == cutDigest;
}

bool ResolveCutBaseName(TemporaryName& name, const QStringList& candidates) {
  if (name.cutDigest.isEmpty()) return true;
  for (const QString& candidate : candidates) {
    if (!name.standsFor(candidate)) continue;
    name.baseName = candidate;
    name.cutDigest.clear();
    return true;
  }
  return false;
}

QString PrivateFolderBaseName() { return QStringLiteral("download"); }

bool ProcessIsRunning(long long pid) {
  if (pid <= 0 || pid > LargestProcessId()) return false;
  return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
}

int RemoveStaleTemporaryFiles(const std::vector<TemporaryScope>& scopes) {
  int settled = 0;
  // Private folders first: their journals say what the kept entries beside them are for. The kept
  // entries of a process whose private folder stays (its journal could not be followed) stay too.
  std::set<long long> unsettled;
  for (const bool privateFolders : {true, false}) {
    for (const TemporaryScope& scope : scopes) {
      if (scope.folder.isEmpty() || !scope.isCandidate) continue;
      QByteArray folder = QFile::encodeName(scope.folder);
      if (!folder.endsWith('/')) folder += '/';
      const QStringList names = QDir(QFile::decodeName(folder))
                                    .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
      for (const QString& fileName : names) {
        std::optional<TemporaryName> name = ParseTemporaryName(fileName);
        if (!name || (name->kind == TemporaryKind::Unpack) != privateFolders) continue;
        static_cast<void>(ResolveCutBaseName(*name, names));
        if (name->kind != TemporaryKind::Keep && !scope.isCandidate(*name)) continue;
        if (ProcessIsRunning(name->pid)) continue;
        if (name->kind == TemporaryKind::Keep && unsettled.count(name->pid) != 0) continue;
        if (Settle(folder, fileName, *name)) {
          ++settled;
        } else if (privateFolders && HoldsJournal(folder + QFile::encodeName(fileName))) {
          unsettled.insert(name->pid);
        }
      }
    }
  }
  return settled;
}

}  // namespace platform
