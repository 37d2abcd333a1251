#pragma once
// Small UTF-8 helpers for the INI layer, which works on file bytes to stay fast.

#include <QByteArrayView>
#include <QString>

namespace platform::ini {

// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool IsValidUtf8(QByteArrayView bytes);

// The length of the longest prefix of valid UTF-8 text that fits in maxBytes without cutting a
// character in half.
qsizetype Utf8CutLength(QByteArrayView text, qsizetype maxBytes);

// The text of the first bufferSize - 1 bytes of utf8 that do not cut a character in half, as a
// reader with a buffer of bufferSize bytes gets it.
QString CutToUtf8Bytes(QByteArrayView utf8, int bufferSize);

// The same for a value stored in the file as GBK: the cut counts the value's GBK bytes (two for
// a double-byte character), so a buffer holds as many characters as it did on that system.
QString CutToGbkBytes(QByteArrayView utf8, int bufferSize);

}  // namespace platform::ini
