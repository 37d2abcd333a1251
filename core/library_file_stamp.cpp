#include "core/library_file_stamp.h"

#include "platform/files/safe_read.h"

#include <QFile>
#include <QHashFunctions>

#include <cstdint>
#include <optional>

#include <sys/stat.h>

namespace {

struct FileIdentity {
  std::int64_t size = -1;
  std::int64_t changedNs = 0;
  std::uint64_t inode = 0;
  std::uint64_t device = 0;
  bool operator==(const FileIdentity&) const = default;
};

struct LibraryFileStamp {
  bool known = false;
  FileIdentity identity;
  qsizetype size = 0;
  size_t hash = 0;
};

LibraryFileStamp& Stamp() {
  static LibraryFileStamp stamp;
  return stamp;
}

std::optional<FileIdentity> IdentityOf(const QString& path) {
  struct stat info {};
  if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  return FileIdentity{static_cast<std::int64_t>(info.st_size),
                      static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec,
                      static_cast<std::uint64_t>(info.st_ino), static_cast<std::uint64_t>(info.st_dev)};
}

size_t HashOf(const QByteArray& bytes) { return qHash(QByteArrayView(bytes), 0); }

}  // namespace

void RememberLibraryFile(const QString& path, const QByteArray& bytes) {
  const std::optional<FileIdentity> identity = IdentityOf(path);
  if (!identity) {
    ForgetLibraryFile();
    return;
  }
  Stamp() = LibraryFileStamp{true, *identity, bytes.size(), HashOf(bytes)};
}

void ForgetLibraryFile() { Stamp() = LibraryFileStamp{}; }

bool LibraryFileChanged(const QString& path) {
  LibraryFileStamp& stamp = Stamp();
  if (!stamp.known) return false;
  const std::optional<FileIdentity> identity = IdentityOf(path);
  if (!identity) return true;
  // The same file, size and change time: nothing wrote it since (the cheap, usual case).
  if (*identity == stamp.identity) return false;
  // Something touched or replaced it: the bytes decide.
  QByteArray bytes;
  if (platform::ReadRegularFile(path, bytes) != platform::ReadStatus::Ok) return true;
  if (bytes.size() != stamp.size || HashOf(bytes) != stamp.hash) return true;
  stamp.identity = *identity;
  return false;
}
