#include "libraries/catalogue_item_files.h"

#include "core/library_lines.h"
#include "platform/files/safe_read.h"

#include <QtEndian>

#include <unistd.h>

namespace {

const QString kArchiveExtension = QStringLiteral(".zip");
const QString kFirstPart = QStringLiteral(".part1");
// The header line is short: a header that does not end within this much of the file's start
// (empty lines before it included) is no header.
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
  if (!head.startsWith("\xFF\xFE")) return false;
  const qsizetype units = (head.size() - 2) / 2;
  QString text(units, Qt::Uninitialized);
  qFromLittleEndian<char16_t>(head.constData() + 2, units, text.data());
  const std::optional<QString> first = FirstStoredLine(text);
  return first && IsLibraryHeaderLine(*first);
}
