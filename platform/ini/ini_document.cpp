#include "platform/ini/ini_document.h"

#include "platform/ini/gbk_codec.h"
#include "platform/ini/utf8_text.h"

#include "platform/files/safe_read.h"

namespace platform::ini {
namespace {

enum class ReadOutcome { Ok, Missing, Failed };

// Settings are read on every access, so this stays a plain read of a regular file. Anything but
// a regular file (a FIFO, a device, a folder) reads as missing and never blocks.
ReadOutcome ReadWholeFile(const QString& path, QByteArray& bytes) {
  switch (ReadRegularFile(path, bytes)) {
    case ReadStatus::Ok: return ReadOutcome::Ok;
    case ReadStatus::Missing: return ReadOutcome::Missing;
    case ReadStatus::Failed: break;
  }
  return ReadOutcome::Failed;
}

bool HasUtf16LeBom(const QByteArray& bytes) {
  return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
         static_cast<unsigned char>(bytes[1]) == 0xFE;
}

QByteArray DecodeUtf16Le(QByteArrayView bytes) {
  QString text(bytes.size() / 2, Qt::Uninitialized);
  for (qsizetype i = 0; i < text.size(); ++i) {
    const auto low = static_cast<unsigned char>(bytes[2 * i]);
    const auto high = static_cast<unsigned char>(bytes[2 * i + 1]);
    text[i] = QChar(static_cast<char16_t>(low | (high << 8)));
  }
  return text.toUtf8();
}

// Each line on its own: well-formed UTF-8 stays, anything else is taken as GBK.
QByteArray DecodeLineByLine(const QByteArray& raw) {
  QByteArray text;
  text.reserve(raw.size() + raw.size() / 2);
  qsizetype begin = 0;
  while (begin < raw.size()) {
    qsizetype end = raw.indexOf('\n', begin);
    end = end < 0 ? raw.size() : end + 1;
    const QByteArrayView line(raw.constData() + begin, end - begin);
    if (IsValidUtf8(line)) {
      text.append(line);
    } else {
      text.append(GbkToUtf8Lenient(line));
    }
    begin = end;
  }
  return text;
}

}  // namespace

IniDocument LoadIniDocument(const QString& path) {
  IniDocument document;
  switch (ReadWholeFile(path, document.raw)) {
    case ReadOutcome::Missing:
      return document;
    case ReadOutcome::Failed:
      document.readable = false;
      return document;
    case ReadOutcome::Ok:
      break;
  }

  if (HasUtf16LeBom(document.raw)) {
    document.encoding = FileEncoding::Utf16Le;
    document.text = DecodeUtf16Le(QByteArrayView(document.raw).sliced(2));
  } else if (IsValidUtf8(document.raw)) {
    document.encoding = FileEncoding::Utf8;
    document.text = document.raw;
  } else if (auto converted = GbkToUtf8(document.raw)) {
    document.encoding = FileEncoding::Gbk;
    document.text = std::move(*converted);
  } else {
    document.encoding = FileEncoding::Mixed;
    document.text = DecodeLineByLine(document.raw);
  }
  return document;
}

QByteArray EncodeUtf16LeWithBom(QByteArrayView utf8) {
  const QString text = QString::fromUtf8(utf8);
  QByteArray bytes;
  bytes.reserve(2 + text.size() * 2);
  bytes.append('\xFF').append('\xFE');
  for (const QChar unit : text) {
    bytes.append(static_cast<char>(unit.unicode() & 0xFF));
    bytes.append(static_cast<char>(unit.unicode() >> 8));
  }
  return bytes;
}

}  // namespace platform::ini
