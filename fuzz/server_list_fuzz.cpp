// Arbitrary bytes as a server list: every category's count and every item it announces are read
// as the catalogue reads them, and every target name is put through the bare-name test. The
// server is outside input: no list may crash the reader or let a name through that leaves the
// target folder.

#include "libraries/ServerListFile.h"
#include "libraries/catalogue_download.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryFile>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

QString FuzzFilePath() {
  static QTemporaryFile file;  // removed at exit
  if (!file.isOpen() && !file.open()) std::abort();
  return file.fileName();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString path = FuzzFilePath();
  {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
  }
  for (int category = 1; category <= kCatalogueCategoryCount; ++category) {
    const QString key = CategoryKey(category);
    const int count = LeadingNumber(ReadCategoryCount(path, key));
    if (count < 0) std::abort();
    for (int item = 1; item <= std::min(count, kMaxCatalogueItems); ++item) {
      const auto entry = ReadServerListItem(path, key, item, QStringLiteral("A"));
      // A bare name stays in the target folder: no separator, and never the folder or its parent
      // ("a..b.zip" is a plain name).
      if (entry && IsBareFileName(entry->toFileName) &&
          (entry->toFileName.contains('/') || entry->toFileName.contains('\\') ||
           entry->toFileName == QStringLiteral(".") || entry->toFileName == QStringLiteral(".."))) {
        std::abort();
      }
    }
  }
  return 0;
}
