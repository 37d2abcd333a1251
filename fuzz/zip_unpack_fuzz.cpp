// Arbitrary bytes as a downloaded archive: unpacked as a catalogue download unpacks it, into a
// private folder, with small limits. Names, sizes, links, truncation and the end records that place
// the directory all come from outside; no archive may crash the unpacker, write outside its
// folder, or exceed the limits it is given.

#include "platform/archive/zip_archive.h"
#include "platform/files/private_folder.h"

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

const QTemporaryDir& FuzzRoot() {
  static QTemporaryDir root;  // removed at exit
  if (!root.isValid()) std::abort();
  return root;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString root = FuzzRoot().path() + QStringLiteral("/");
  const QString archive = root + QStringLiteral("item.zip");
  {
    QFile file(archive);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
  }
  const platform::UnpackLimits limits{std::int64_t{4} << 20, 200, 100};
  std::int64_t written = 0;
  {
    const platform::PrivateFolder folder(root);
    if (!folder.created()) std::abort();
    platform::UnpackZipArchive(archive, folder.path(), limits, [](std::int64_t, std::int64_t) { return true; });
    QDirIterator it(folder.path(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
      it.next();
      if (it.fileInfo().isSymLink()) std::abort();  // links are never made
      if (it.fileInfo().isFile()) written += it.fileInfo().size();
    }
  }
  if (written > limits.maxTotalBytes) std::abort();
  // Only the archive and nothing else may remain beside the private folder.
  if (QDir(root).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot) != QStringList{"item.zip"}) std::abort();
  return 0;
}
