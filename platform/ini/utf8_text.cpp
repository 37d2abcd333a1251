#include "platform/ini/utf8_text.h"

#include "platform/codepage/ansi_code_page.h"

#include <cstdint>
#include <cstring>

namespace platform::ini {

bool IsValidUtf8(QByteArrayView bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* const end = p + bytes.size();
  while (p < end) {
    // Settings files are mostly ASCII: skip it eight bytes at a time.
    std::uint64_t block = 0;
    while (end - p >= 8 && (std::memcpy(&block, p, 8), (block & 0x8080808080808080ull) == 0)) p += 8;
    if (p == end) break;
    const unsigned char lead = *p;
    if (lead < 0x80) {
      ++p;
      continue;
    }
    int trail = 0;
    std::uint32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
      trail = 1;
      code = lead & 0x1Fu;
    } else if ((lead & 0xF0) == 0xE0) {
      trail = 2;
      code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      trail = 3;
      code = lead & 0x07u;
    } else {
      return false;  // stray continuation byte, C0/C1 overlong lead, or F5..FF
    }
    if (end - p <= trail) return false;
    for (int i = 1; i <= trail; ++i) {
      if ((p[i] & 0xC0) != 0x80) return false;
      code = (code << 6) | (p[i] & 0x3Fu);
    }
    if (trail == 2 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) return false;
    if (trail == 3 && (code < 0x10000 || code > 0x10FFFF)) return false;
    p += trail + 1;
  }
  return true;
}

qsizetype Utf8CutLength(QByteArrayView text, qsizetype maxBytes) {
  if (maxBytes <= 0) return 0;
  if (text.size() <= maxBytes) return text.size();
  qsizetype length = maxBytes;
  // Back up over continuation bytes so the cut falls before the character they belong to.
  while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
  return length;
}

QString CutToUtf8Bytes(QByteArrayView utf8, int bufferSize) {
  return QString::fromUtf8(utf8.first(Utf8CutLength(utf8, bufferSize - 1)));
}

QString CutToGbkBytes(QByteArrayView utf8, int bufferSize) {
  const qsizetype limit = qMax(bufferSize - 1, 0);
  // A character takes no more bytes in GBK than in UTF-8: what fits as UTF-8 fits as stored.
  if (utf8.size() <= limit) return QString::fromUtf8(utf8);
  const QString text = QString::fromUtf8(utf8);
  qsizetype bytes = 0;
  qsizetype units = 0;
  while (units < text.size()) {
    const qsizetype width = text[units].isHighSurrogate() && units + 1 < text.size() ? 2 : 1;
    const qsizetype cost = width == 1 && IsDoubleByteCharacter(text.mid(units, 1)) ? 2 : 1;
    if (bytes + cost > limit) break;
    bytes += cost;
    units += width;
  }
  return text.left(units);
}

}  // namespace platform::ini
