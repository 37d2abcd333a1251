#include "bar/SubMain_library_list.h"

#include "platform/files/safe_read.h"
#include "platform/files/safe_write.h"
#include "platform/ini/ini_document.h"
#include "platform/ini/ini_scan.h"

#include <QSet>

namespace SubMain {
namespace {

using platform::ini::LineBounds;
using platform::ini::LineCursor;

constexpr QByteArrayView kUtf8Bom("\xEF\xBB\xBF");

bool IsSectionHeader(QByteArrayView line) { return line.startsWith('['); }

QString FoldedName(QByteArrayView header) {
  return QString::fromUtf8(platform::ini::SectionHeaderName(header)).toCaseFolded();
}

QSet<QString> SectionNames(const QByteArray& text) {
  QSet<QString> names;
  LineCursor cursor(text);
  LineBounds bounds;
  for (qsizetype index = 0; cursor.next(bounds); ++index) {
    const QByteArrayView line = platform::ini::LineText(text, bounds, index);
    if (IsSectionHeader(line)) names.insert(FoldedName(line));
  }
  return names;
}

QByteArray LineEndOf(const QByteArray& text) { return text.contains("\r\n") ? "\r\n" : "\n"; }

// A list's bytes as UTF-8; false with the reason when the file exists but cannot be read.
bool LoadList(const QString& path, platform::ini::IniDocument& document, QString& reason) {
  document = platform::ini::LoadIniDocument(path);
  if (document.readable) return true;
  QByteArray ignored;
  platform::ReadRegularFile(path, ignored, &reason);
  if (reason.isEmpty()) reason = path;
  return false;
}

}  // namespace

QByteArray LibrarySectionsMissingFrom(const QByteArray& preferred, const QByteArray& other) {
  const QSet<QString> present = SectionNames(preferred);
  QByteArray missing;
  bool copying = false;
  LineCursor cursor(other);
  LineBounds bounds;
  for (qsizetype index = 0; cursor.next(bounds); ++index) {
    const QByteArrayView line = platform::ini::LineText(other, bounds, index);
    if (IsSectionHeader(line)) copying = !present.contains(FoldedName(line));
    if (!copying) continue;
    QByteArrayView raw = QByteArrayView(other).sliced(bounds.begin, bounds.end - bounds.begin);
    if (index == 0 && raw.startsWith(kUtf8Bom)) raw = raw.sliced(kUtf8Bom.size());
    missing.append(raw);
    if (bounds.end == bounds.contentEnd) missing.append(LineEndOf(other));  // the text had no final line end
  }
  return missing;
}

bool WriteMergedLibraryList(const QString& preferred, const QString& other, const QString& target, QString& reason) {
  platform::ini::IniDocument first;
  if (!LoadList(preferred, first, reason)) return false;
  if (first.encoding == platform::ini::FileEncoding::Missing) {
    reason = preferred;
    return false;
  }
  platform::ini::IniDocument second;
  if (!LoadList(other, second, reason)) return false;

  const QByteArray missing = LibrarySectionsMissingFrom(first.text, second.text);
  QByteArray merged = first.raw;
  if (!missing.isEmpty()) {
    merged = first.text;
    if (!merged.isEmpty() && !merged.endsWith('\n')) merged.append(LineEndOf(merged));
    merged.append(missing);
  }
  const platform::ini::IniDocument& current = target == preferred ? first : second;
  if (current.encoding != platform::ini::FileEncoding::Missing && merged == current.raw) return true;
  return platform::WriteFileAtomically(target, merged, &reason);
}

}  // namespace SubMain
