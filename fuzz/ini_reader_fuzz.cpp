// Arbitrary bytes as an INI file for both readers and the snapshot. The first two bytes choose how many of the
// following bytes name the section and the key, so lookups hit names that occur in the file;
// the third chooses the buffer size.

#include "platform/ini/ini.h"

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

QString NameFrom(const QByteArray& bytes, qsizetype& offset, qsizetype length) {
  const QByteArray name = bytes.mid(offset, length);
  offset += name.size();
  return QString::fromUtf8(name);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QString path = FuzzFilePath();
  {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    file.write(bytes);
  }

  qsizetype offset = 3;
  const QString section = NameFrom(bytes, offset, size > 0 ? data[0] % 24 : 0);
  const QString key = NameFrom(bytes, offset, size > 1 ? data[1] % 24 : 0);
  const int buffer = size > 2 ? data[2] % 300 : 255;

  const QString ansi = platform::ReadProfileString(path, section, key, QStringLiteral("Error"), buffer);
  if (ansi.toUtf8().size() > qMax(buffer - 1, 0)) std::abort();  // the cut must hold
  const QString unicode =
      platform::ReadProfileStringUnicode(path, section, key, QStringLiteral("Error"), buffer);
  if (unicode.size() > qMax(buffer - 1, 0)) std::abort();
  // The one-pass snapshot must answer as the reader does.
  if (platform::ProfileSnapshot(path).read(section, key, QStringLiteral("Error"), buffer) != ansi) std::abort();
  return 0;
}
