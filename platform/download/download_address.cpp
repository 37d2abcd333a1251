#include "platform/download/download_address.h"

#include <QUrl>

namespace platform {
namespace {

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// The characters a path or query may hold as they are: the unreserved ones, the sub-delimiters,
// ":", "@", "/" and "?".
bool MayStandAsIs(char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  return QByteArrayView("-._~!$&'()*+,;=:@/?").contains(c);
}

// The path and query as given, with what may not stand in an address escaped and every escape
// the text holds already kept as written.
QByteArray EncodedPathAndQuery(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  QByteArray encoded;
  encoded.reserve(bytes.size());
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    const bool escape = c == '%' && i + 2 < bytes.size() && IsHexDigit(bytes[i + 1]) && IsHexDigit(bytes[i + 2]);
    if (escape || MayStandAsIs(c)) {
      encoded.append(c);
    } else {
      encoded.append('%').append(QByteArray(1, c).toHex().toUpper());
    }
  }
  return encoded;
}

}  // namespace

QByteArray EncodedDownloadAddress(const QString& url) {
  QString text = url;
  text.replace(QLatin1Char('#'), QStringLiteral("%23"));
  const QUrl parsed(text, QUrl::TolerantMode);
  if (!parsed.isValid()) return url.toUtf8();
  // The server part ends where the path or the query begins, after "scheme://".
  const qsizetype authority = text.indexOf(QStringLiteral("://"));
  if (authority < 0) return parsed.toEncoded();
  qsizetype pathStart = authority + 3;
  while (pathStart < text.size() && text[pathStart] != u'/' && text[pathStart] != u'?') ++pathStart;
  return parsed.toEncoded(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment) +
         EncodedPathAndQuery(text.mid(pathStart));
}

}  // namespace platform
