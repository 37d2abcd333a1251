#pragma once
// An INI file's bytes and its text as UTF-8, whatever encoding the file is in.

#include <QByteArray>
#include <QString>

namespace platform::ini {

enum class FileEncoding {
  Missing,  // no file: reads as empty, a write creates it as UTF-8
  Utf8,     // well-formed UTF-8 (a UTF-8 byte-order mark stays part of the first line)
  Gbk,      // not UTF-8 but well-formed GBK: rewritten whole as UTF-8 on a write
  Utf16Le,  // byte-order mark FF FE: text converted, written back as UTF-16LE
  Mixed,    // neither: each line UTF-8 when it is well-formed, otherwise GBK with bad bytes replaced
};

struct IniDocument {
  bool readable = true;  // false when the file exists but cannot be read (a write must not replace it)
  FileEncoding encoding = FileEncoding::Missing;
  QByteArray raw;   // the file's bytes
  QByteArray text;  // the file as UTF-8; line for line the same lines as raw
};

IniDocument LoadIniDocument(const QString& path);

// UTF-16LE bytes with the byte-order mark FF FE in front.
QByteArray EncodeUtf16LeWithBom(QByteArrayView utf8);

}  // namespace platform::ini
