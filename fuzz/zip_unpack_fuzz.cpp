// Arbitrary bytes as a downloaded archive, through the reader's archive mode as the reader runs
// it (without its process and its confinement), into a private folder. Names, sizes, links,
// truncation and the end records that place the directory all come from outside; no archive may
// crash the unpacking, write outside its folder, make a link, or write more than the limit.

#include "platform/archive/archive_mode_arguments.h"
#include "platform/archive/zip_archive.h"
#include "platform/files/private_folder.h"
#include "reader/archive_mode.h"
#include "reader/reader_channel.h"

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

const QTemporaryDir& FuzzRoot() {
  static QTemporaryDir root;  // removed at exit
  if (!root.isValid()) std::abort();
  return root;
}

// The reports and the answer go nowhere: the mode must not depend on anyone reading them.
int Nowhere() {
  static const int fd = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (fd < 0) std::abort();
  return fd;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  reader::PrepareArchiveMode();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString root = FuzzRoot().path() + QStringLiteral("/");
  const QString archive = root + QStringLiteral("item.zip");
  {
    QFile file(archive);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
  }
  std::int64_t written = 0;
  {
    const platform::PrivateFolder folder(root);
    if (!folder.created()) std::abort();
    reader::ReaderChannel channel(Nowhere());
    const bool some = size > 0 && (data[0] & 1) != 0;  // half the runs write only some entries
    const QStringList arguments = platform::WriteArchiveModeArguments(
        {archive, folder.path(), some ? QStringLiteral("a.") : QString()});
    if (reader::RunArchiveMode(arguments, channel) != 0) std::abort();
    QDirIterator it(folder.path(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
      it.next();
      if (it.fileInfo().isSymLink()) std::abort();  // links are never made
      if (it.fileInfo().isFile()) written += it.fileInfo().size();
    }
  }
  if (written > platform::UnpackLimits{}.maxTotalBytes) std::abort();
  // Only the archive and nothing else may remain beside the private folder.
  if (QDir(root).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot) != QStringList{"item.zip"}) std::abort();
  return 0;
}
