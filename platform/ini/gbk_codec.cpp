#include "platform/ini/gbk_codec.h"

#include "platform/codepage/iconv_handle.h"

#include <cerrno>


namespace platform::ini {
namespace {

constexpr char kReplacementUtf8[] = "\xEF\xBF\xBD";

std::optional<QByteArray> Convert(QByteArrayView gbk, bool lenient) {
  IconvHandle converter("UTF-8", "CP936");
  if (!converter.valid()) return std::nullopt;

  // A GBK character of one or two bytes becomes at most three bytes of UTF-8, and so does a
  // replaced byte: three times the input always suffices.
  QByteArray out(gbk.size() * 3 + 4, Qt::Uninitialized);
  char* in = const_cast<char*>(gbk.data());
  size_t inLeft = static_cast<size_t>(gbk.size());
  char* outPtr = out.data();
  size_t outLeft = static_cast<size_t>(out.size());

  while (inLeft > 0) {
    if (iconv(converter.get(), &in, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1)) break;
    if (errno != EILSEQ && errno != EINVAL) return std::nullopt;
    if (!lenient) return std::nullopt;
    for (char c : QByteArrayView(kReplacementUtf8)) *outPtr++ = c;
    outLeft -= 3;
    ++in;
    --inLeft;
    iconv(converter.get(), nullptr, nullptr, nullptr, nullptr);  // reset the shift state
  }
  out.truncate(outPtr - out.data());
  return out;
}

}  // namespace

std::optional<QByteArray> GbkToUtf8(QByteArrayView gbk) { return Convert(gbk, false); }

QByteArray GbkToUtf8Lenient(QByteArrayView gbk) { return Convert(gbk, true).value_or(QByteArray()); }

}  // namespace platform::ini
