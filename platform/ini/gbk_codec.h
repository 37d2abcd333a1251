#pragma once
// GBK (code page 936) to UTF-8 through glibc's iconv, for INI files written on a Chinese
// Windows system.

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

namespace platform::ini {

// The text as UTF-8, or nothing when the bytes are not well-formed GBK.
std::optional<QByteArray> GbkToUtf8(QByteArrayView gbk);

// The text as UTF-8 with every byte that is not part of a GBK character replaced by U+FFFD.
QByteArray GbkToUtf8Lenient(QByteArrayView gbk);

}  // namespace platform::ini
