#include "tests/support/library_files.h"

#include <QtEndian>

namespace testing_support {

QByteArray LibraryBytes(const QString& text) {
  QByteArray bytes("\xFF\xFE", 2);
  bytes.resize(2 + text.size() * 2);
  qToLittleEndian<char16_t>(text.utf16(), text.size(), bytes.data() + 2);
  return bytes;
}

QByteArray LibraryBytes(const QStringList& lines) {
  QString text;
  for (const QString& line : lines) text += line + QStringLiteral("\r\n");
  return LibraryBytes(text);
}

QStringList LibraryLines(const QByteArray& bytes) {
  const qsizetype units = (bytes.size() - 2) / 2;
  if (units <= 0) return {};
  QString text(units, Qt::Uninitialized);
  qFromLittleEndian<char16_t>(bytes.constData() + 2, units, text.data());
  text.remove(QLatin1Char('\n'));
  return text.split(QLatin1Char('\r'), Qt::SkipEmptyParts);
}

QStringList SampleWordLines(int count) {
  QStringList lines;
  for (int i = 1; i <= count; ++i) {
    const QString n = QStringLiteral("%1").arg(i, 4, 10, QLatin1Char('0'));
    lines << QStringLiteral("word%1@[wɜːd]n. 单词%1").arg(n);
  }
  return lines;
}

}  // namespace testing_support
