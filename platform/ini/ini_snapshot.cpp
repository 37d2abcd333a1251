#include "platform/ini/ini.h"

#include "platform/ini/ini_document.h"
#include "platform/ini/ini_scan.h"
#include "platform/ini/utf8_text.h"

namespace platform {
namespace {

// A name folded so that two names the reader takes as equal fold to the same text. The reader
// never matches an ASCII name against a non-ASCII one, so the two kinds stay apart.
QString FoldedName(QByteArrayView utf8) {
  bool ascii = true;
  for (const char c : utf8) {
    if (static_cast<unsigned char>(c) >= 0x80) {
      ascii = false;
      break;
    }
  }
  return (ascii ? QStringLiteral("a") : QStringLiteral("u")) + QString::fromUtf8(utf8).toCaseFolded();
}

QString FoldedName(const QString& name) { return FoldedName(QByteArrayView(ini::TrimBlanks(name).toUtf8())); }

}  // namespace

ProfileSnapshot::ProfileSnapshot(const QString& file) {
  const ini::IniDocument document = ini::LoadIniDocument(file);
  storedAsGbk_ = document.encoding == ini::FileEncoding::Gbk;
  const QByteArrayView text(document.text);
  QHash<QString, QByteArray>* section = nullptr;  // keys of the section being read
  ini::LineCursor cursor(text);
  ini::LineBounds bounds;
  for (qsizetype index = 0; cursor.next(bounds); ++index) {
    const QByteArrayView line = ini::LineText(text, bounds, index);
    if (line.isEmpty()) continue;
    if (line.front() == '[') {
      const QByteArrayView name = ini::SectionHeaderName(line);
      sectionNames_.append(QString::fromUtf8(name));
      section = &values_[FoldedName(name)];
      continue;
    }
    if (section == nullptr || line.front() == ';') continue;
    const qsizetype equals = line.indexOf('=');
    if (equals < 0) continue;
    const QString key = FoldedName(ini::TrimBlanks(line.first(equals)));
    if (!section->contains(key)) section->insert(key, ini::StripQuotes(ini::TrimBlanks(line.sliced(equals + 1))).toByteArray());
  }
}

QString ProfileSnapshot::read(const QString& section, const QString& key, const QString& defaultValue,
                              int bufferSize) const {
  if (ini::TrimBlanks(section).isEmpty() || ini::TrimBlanks(key).isEmpty()) return ini::CutToUtf8Bytes(defaultValue.toUtf8(), bufferSize);
  const auto keys = values_.constFind(FoldedName(section));
  if (keys != values_.constEnd()) {
    const auto value = keys->constFind(FoldedName(key));
    if (value != keys->constEnd()) {
      return storedAsGbk_ ? ini::CutToGbkBytes(*value, bufferSize) : ini::CutToUtf8Bytes(*value, bufferSize);
    }
  }
  return ini::CutToUtf8Bytes(defaultValue.toUtf8(), bufferSize);
}

QStringList ReadProfileSectionNames(const QString& file) { return ProfileSnapshot(file).sectionNames(); }

}  // namespace platform
