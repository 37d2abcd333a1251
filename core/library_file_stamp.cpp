#include "core/library_file_stamp.h"

#include <optional>

namespace {

struct LibraryFileStamp {
  bool known = false;
  platform::FileVersion version;
  QByteArray digest;
};

LibraryFileStamp& Stamp() {
  static LibraryFileStamp stamp;
  return stamp;
}

}  // namespace

void RememberLibraryFile(const platform::FileVersion& version, const QByteArray& digest) {
  Stamp() = LibraryFileStamp{true, version, digest};
}

void ForgetLibraryFile() { Stamp() = LibraryFileStamp{}; }

bool LibraryFileChanged(const QString& path) {
  LibraryFileStamp& stamp = Stamp();
  if (!stamp.known) return false;
  const std::optional<platform::FileVersion> version = platform::VersionOfFile(path);
  if (!version) return true;
  // The same file, size and times: nothing wrote it since (the cheap, usual case).
  if (*version == stamp.version) return false;
  // Something touched or replaced it: the bytes decide. A file of another size differs anyway.
  if (version->size != stamp.version.size) return true;
  LibraryDigest digest;
  platform::FileVersion read;
  const platform::StreamStatus status = platform::StreamRegularFile(
      path, [&](QByteArrayView block) { digest.add(block); return true; }, {}, &read);
  if (status != platform::StreamStatus::Whole || read.size != stamp.version.size ||
      digest.result() != stamp.digest)
    return true;
  stamp.version = read;
  return false;
}
