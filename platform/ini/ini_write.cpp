#include "platform/ini/ini.h"

#include "platform/ini/ini_document.h"
#include "platform/ini/ini_scan.h"

#include "platform/files/safe_write.h"

namespace platform {
namespace {

using ini::FileEncoding;
using ini::IniDocument;
using ini::IniName;
using ini::LineBounds;

// Windows passes these as C strings: anything after a NUL is not part of them.
QString UpToNul(const QString& text) {
  const qsizetype nul = text.indexOf(QChar(u'\0'));
  return nul < 0 ? text : text.left(nul);
}

bool HasLineBreak(const QString& text) { return text.contains(u'\n') || text.contains(u'\r'); }

// A name or value that would not read back as itself (or would add lines to the file) is refused.
bool CanStore(const IniName& section, const IniName& key, const QString& value) {
  if (section.isEmpty() || key.isEmpty()) return false;
  if (HasLineBreak(section.text()) || section.text().contains(u']')) return false;
  if (HasLineBreak(key.text()) || key.text().contains(u'=')) return false;
  if (key.text().startsWith(u'[') || key.text().startsWith(u';')) return false;
  return !HasLineBreak(value);
}

// New lines follow the file's own line ends; a new file gets the platform's.
QByteArray LineEndOf(QByteArrayView text) {
  const qsizetype newline = text.indexOf('\n');
  if (newline > 0 && text[newline - 1] == '\r') return "\r\n";
  return "\n";
}

// The text with the key set. lineSource is the text whose lines are kept; its lines are the
// lines of the decoded text the entry was found in, one for one.
QByteArray SetKey(const QByteArray& lineSource, const ini::IniEntry& entry, const IniName& section,
                  const IniName& key, const QByteArray& value) {
  const QByteArray lineEnd = LineEndOf(lineSource);
  QByteArray result;
  result.reserve(lineSource.size() + section.text().size() + key.text().size() + value.size() + 16);

  if (entry.keyLine >= 0) {
    // Keep the key as written and the blanks after "="; replace the rest of the line's text.
    const LineBounds line = ini::LineAt(lineSource, entry.keyLine);
    qsizetype valueStart = lineSource.indexOf('=', line.begin) + 1;
    while (valueStart < line.contentEnd &&
           (lineSource[valueStart] == ' ' || lineSource[valueStart] == '\t')) {
      ++valueStart;
    }
    result.append(QByteArrayView(lineSource).first(valueStart));
    result.append(value);
    result.append(QByteArrayView(lineSource).sliced(line.contentEnd));
    return result;
  }

  const QByteArray keyLine = key.text().toUtf8() + '=' + value + lineEnd;
  if (entry.sectionFound) {
    // New keys go after the last non-blank line of the section, before any blank separator.
    const LineBounds last = ini::LineAt(lineSource, entry.lastSectionLine);
    result.append(QByteArrayView(lineSource).first(last.end));
    if (last.end == last.contentEnd) result.append(lineEnd);  // the file had no final line end
    result.append(keyLine);
    result.append(QByteArrayView(lineSource).sliced(last.end));
    return result;
  }

  result.append(lineSource);
  if (!result.isEmpty() && !result.endsWith('\n')) result.append(lineEnd);
  result.append('[').append(section.text().toUtf8()).append(']').append(lineEnd);
  result.append(keyLine);
  return result;
}

bool ReplaceFile(const QString& path, const QByteArray& bytes) { return WriteFileAtomically(path, bytes); }

// Rewrites the file with `edit` applied to the text whose lines are kept, in the file's own
// encoding. A file that cannot be read is never replaced: that would lose it.
template <class Edit>
long RewriteIniFile(const QString& file, const ini::IniDocument& document, const Edit& edit) {
  if (!document.readable) return 0;
  QByteArray bytes;
  switch (document.encoding) {
    case FileEncoding::Missing:
    case FileEncoding::Utf8:
    case FileEncoding::Gbk:
      // A GBK file is written back whole as UTF-8, every other line as it read.
      bytes = edit(document.text);
      break;
    case FileEncoding::Mixed:
      // Lines that are neither UTF-8 nor GBK keep their bytes; only the key's line is new text.
      bytes = edit(document.raw);
      break;
    case FileEncoding::Utf16Le:
      // Only a file that converts back to exactly its own bytes (even length, no lone
      // surrogates) may be rewritten; anything else would be damaged.
      if (ini::EncodeUtf16LeWithBom(document.text) != document.raw) return 0;
      bytes = ini::EncodeUtf16LeWithBom(edit(document.text));
      break;
  }
  return ReplaceFile(file, bytes) ? 1 : 0;
}

}  // namespace

long WriteProfileString(const QString& file, const QString& section, const QString& key,
                        const QString& value) {
  const IniName sectionName(UpToNul(section));
  const IniName keyName(UpToNul(key));
  const QString valueText = UpToNul(value);
  if (file.isEmpty() || !CanStore(sectionName, keyName, valueText)) return 0;

  const IniDocument document = ini::LoadIniDocument(file);
  const ini::IniEntry entry = ini::FindIniEntry(document.text, sectionName, keyName);
  const QByteArray valueBytes = valueText.toUtf8();
  return RewriteIniFile(file, document, [&](const QByteArray& lineSource) {
    return SetKey(lineSource, entry, sectionName, keyName, valueBytes);
  });
}

long DeleteProfileKey(const QString& file, const QString& section, const QString& key) {
  const IniName sectionName(UpToNul(section));
  const IniName keyName(UpToNul(key));
  if (file.isEmpty() || sectionName.isEmpty() || keyName.isEmpty()) return 0;

  const IniDocument document = ini::LoadIniDocument(file);
  if (!document.readable) return 0;
  const ini::IniEntry entry = ini::FindIniEntry(document.text, sectionName, keyName);
  if (entry.keyLine < 0) return 1;  // nothing to remove: the file stays as it is (or missing)
  return RewriteIniFile(file, document, [&](const QByteArray& lineSource) {
    const LineBounds line = ini::LineAt(lineSource, entry.keyLine);
    QByteArray result = lineSource;
    result.remove(line.begin, line.end - line.begin);
    return result;
  });
}

}  // namespace platform
