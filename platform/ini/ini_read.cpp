#include "platform/ini/ini.h"

#include "platform/ini/ini_document.h"
#include "platform/ini/ini_scan.h"
#include "platform/ini/utf8_text.h"

#include <optional>

namespace platform {
namespace {

using ini::IniName;

// The stored value of the key (UTF-8), or nothing when the file, the section or the key is missing.
std::optional<QByteArray> FindValue(const QString& file, const QString& section, const QString& key,
                                    bool* storedAsGbk = nullptr) {
  const IniName sectionName(section);
  const IniName keyName(key);
  if (sectionName.isEmpty() || keyName.isEmpty()) return std::nullopt;
  const ini::IniDocument document = ini::LoadIniDocument(file);
  if (document.text.isEmpty()) return std::nullopt;
  if (storedAsGbk != nullptr) *storedAsGbk = document.encoding == ini::FileEncoding::Gbk;
  const ini::IniEntry entry = ini::FindIniEntry(document.text, sectionName, keyName);
  if (entry.keyLine < 0) return std::nullopt;
  return ini::StripQuotes(entry.value).toByteArray();
}

QString CutToUtf16Units(const QString& text, int bufferChars) {
  qsizetype length = qMax(bufferChars - 1, 0);
  if (text.size() <= length) return text;
  if (length > 0 && text[length - 1].isHighSurrogate()) --length;  // keep a surrogate pair whole
  return text.left(length);
}

}  // namespace

QString ReadProfileString(const QString& file, const QString& section, const QString& key,
                          const QString& defaultValue, int bufferSize) {
  bool storedAsGbk = false;
  if (const auto value = FindValue(file, section, key, &storedAsGbk)) {
    return storedAsGbk ? ini::CutToGbkBytes(*value, bufferSize) : ini::CutToUtf8Bytes(*value, bufferSize);
  }
  return ini::CutToUtf8Bytes(defaultValue.toUtf8(), bufferSize);
}

QString ReadProfileStringUnicode(const QString& file, const QString& section, const QString& key,
                                 const QString& defaultValue, int bufferChars) {
  if (const auto value = FindValue(file, section, key)) {
    return CutToUtf16Units(QString::fromUtf8(*value), bufferChars);
  }
  return CutToUtf16Units(defaultValue, bufferChars);
}

}  // namespace platform
