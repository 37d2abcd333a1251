#include "libraries/catalogue_item_files.h"

#include "platform/files/safe_read.h"

#include <unistd.h>

namespace {

const QString kArchiveExtension = QStringLiteral(".zip");
const QString kFirstPart = QStringLiteral(".part1");
// The header line is short; a first line longer than this is no header.
constexpr qsizetype kHeaderProbeBytes = 4096;

}  // namespace

QString ArchiveLibraryName(const QString& toFileName) {
  QString name = toFileName.left(toFileName.indexOf(kArchiveExtension));
  if (name.endsWith(kFirstPart)) name.chop(kFirstPart.size());
  return name;
}

QString PartName(const QString& text, int part) {
  QString result = text;
  return result.replace(kFirstPart, QStringLiteral(".part%1").arg(part));
}

bool IsOwnEntryName(const QString& entryName, const QString& libraryName) {
  return !libraryName.isEmpty() && entryName.size() > libraryName.size() + 1 &&
         entryName.startsWith(libraryName + QLatin1Char('.'));
}

bool ReadsAsWordLibrary(const QString& path) {
  platform::ReadStatus status = platform::ReadStatus::Missing;
  const platform::FileDescriptor file = platform::OpenRegularFile(path, status);
  if (status != platform::ReadStatus::Ok) return false;
  QByteArray head(kHeaderProbeBytes, Qt::Uninitialized);
  qsizetype filled = 0;
  while (filled < head.size()) {
    const ssize_t got = ::read(file.get(), head.data() + filled, static_cast<size_t>(head.size() - filled));
    if (got <= 0) break;
    filled += got;
  }
  head.truncate(filled);
  if (!head.startsWith(QByteArray("\xFF\xFE{\0", 4))) return false;
  for (qsizetype at = 4; at + 1 < head.size(); at += 2) {
    const char16_t unit = static_cast<char16_t>(static_cast<unsigned char>(head[at]) |
                                                (static_cast<unsigned char>(head[at + 1]) << 8));
    if (unit == u'}') return true;
    if (unit == u'\r' || unit == u'\n') return false;
  }
  return false;
}
