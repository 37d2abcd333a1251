#include "platform/files/own_temporary_names.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <system_error>

#include <unistd.h>

namespace platform {
namespace {

struct KindWord {
  TemporaryKind kind;
  const char* word;
};
constexpr KindWord kKindWords[] = {
    {TemporaryKind::Write, "tmp"},
    {TemporaryKind::Download, "download"},
    {TemporaryKind::Unpack, "unpack"},
};

QString KindText(TemporaryKind kind) {
  for (const KindWord& entry : kKindWords) {
    if (entry.kind == kind) return QString::fromLatin1(entry.word);
  }
  return {};
}

// The folder of a process's executable; empty when it cannot be read (no such process, or one of
// another user).
QString ExecutableFolder(const QString& procEntry) {
  std::error_code error;
  const std::filesystem::path target = std::filesystem::read_symlink(QFile::encodeName(procEntry).toStdString(), error);
  if (error) return {};
  return QFileInfo(QFile::decodeName(QByteArray::fromStdString(target.string()))).absolutePath();
}

}  // namespace

QString TemporaryNameStem(const QString& baseName, TemporaryKind kind) {
  return QStringLiteral(".%1.%2.%3-").arg(baseName).arg(static_cast<long long>(::getpid())).arg(KindText(kind));
}

std::optional<TemporaryName> ParseTemporaryName(const QString& fileName) {
  static const QRegularExpression pattern(QStringLiteral("^\\..+\\.([0-9]{1,10})\\.(tmp|download|unpack)-[A-Za-z0-9]{6,16}$"));
  const QRegularExpressionMatch match = pattern.match(fileName);
  if (!match.hasMatch()) return std::nullopt;
  const QString word = match.captured(2);
  for (const KindWord& entry : kKindWords) {
    if (word == QLatin1String(entry.word)) return TemporaryName{entry.kind, match.captured(1).toLongLong()};
  }
  return std::nullopt;
}

bool OwnProcessIsRunning(long long pid) {
  if (pid <= 0) return false;
  if (pid == static_cast<long long>(::getpid())) return true;
  if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) return false;
  const QString theirs = ExecutableFolder(QStringLiteral("/proc/%1/exe").arg(pid));
  // A process whose executable cannot be read belongs to another user: not one of ours.
  return !theirs.isEmpty() && theirs == ExecutableFolder(QStringLiteral("/proc/self/exe"));
}

int RemoveStaleTemporaryFiles(const QStringList& folders) {
  int removed = 0;
  for (const QString& folder : folders) {
    if (folder.isEmpty()) continue;
    const QDir dir(folder);
    const QStringList names = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
      const std::optional<TemporaryName> parsed = ParseTemporaryName(name);
      if (!parsed || OwnProcessIsRunning(parsed->pid)) continue;
      const QFileInfo info(dir.filePath(name));
      // A private folder is removed with what it holds; a file of that pattern is only ever a file.
      const bool folderEntry = info.isDir() && !info.isSymLink();
      if (folderEntry != (parsed->kind == TemporaryKind::Unpack)) continue;
      std::error_code error;
      const auto path = std::filesystem::path(QFile::encodeName(info.filePath()).toStdString());
      if (folderEntry ? std::filesystem::remove_all(path, error) > 0 : std::filesystem::remove(path, error)) ++removed;
    }
  }
  return removed;
}

}  // namespace platform
