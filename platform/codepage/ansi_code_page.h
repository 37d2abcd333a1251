#pragma once
// Characters as the Chinese system the program was written for classifies them: by their bytes in
// its ANSI code page, GBK (code page 936), encoded with glibc's iconv.

#include <QByteArray>
#include <QString>

namespace platform {

// The text's GBK bytes; empty when GBK cannot encode it (or iconv lacks GBK).
QByteArray EncodeAnsiCodePage(const QString& text);

// True when the character (the first of `character`) takes two bytes in GBK. A character GBK
// cannot encode counts as single-byte, as on that system.
bool IsDoubleByteCharacter(const QString& character);

}  // namespace platform
