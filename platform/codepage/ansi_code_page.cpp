#include "platform/codepage/ansi_code_page.h"

#include "platform/codepage/iconv_handle.h"

namespace platform {

QByteArray EncodeAnsiCodePage(const QString& text) {
  // One descriptor per thread, opened on first use and reset before every conversion.
  thread_local IconvHandle encoder("CP936", "UTF-8");
  if (!encoder.valid() || text.isEmpty()) return {};
  QByteArray utf8 = text.toUtf8();
  // GBK never takes more bytes than UTF-8 for the same text.
  QByteArray out(utf8.size() + 4, Qt::Uninitialized);
  char* in = utf8.data();
  size_t inLeft = static_cast<size_t>(utf8.size());
  char* outPtr = out.data();
  size_t outLeft = static_cast<size_t>(out.size());
  iconv(encoder.get(), nullptr, nullptr, nullptr, nullptr);
  if (iconv(encoder.get(), &in, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) return {};
  out.truncate(outPtr - out.data());
  return out;
}

bool IsDoubleByteCharacter(const QString& character) {
  if (character.isEmpty() || character.front().unicode() < 0x80) return false;
  const qsizetype length = character.front().isHighSurrogate() && character.size() > 1 ? 2 : 1;
  return EncodeAnsiCodePage(character.left(length)).size() == 2;
}

}  // namespace platform
