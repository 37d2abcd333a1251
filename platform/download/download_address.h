#pragma once
// The address as a transfer sends it, built from an address as a list or a user writes it. The
// scheme and the server come out as the URL parser writes them (a host name with non-ASCII
// letters in its ASCII form). The path and query go out as given, step by step: a "%" followed by
// two hexadecimal digits is an escape already and stays as written (so "%2e%2e" reaches the
// server as "%2e%2e", never folded into a ".." step and resolved on the way); blanks, "#", "%"
// without two hexadecimal digits, non-ASCII letters and the other characters an address may not
// hold are percent-encoded, as a browser sends a file name it is given. A "#" is taken as part
// of a file name (a fragment never reaches the server anyway). Callers that judge an address
// before a download judge this form of it. An address that does not parse is passed on as UTF-8.

#include <QByteArray>
#include <QString>

namespace platform {

QByteArray EncodedDownloadAddress(const QString& url);

}  // namespace platform
