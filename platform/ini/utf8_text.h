#pragma once
// Small UTF-8 helpers for the INI layer, which works on file bytes to stay fast.

#include <QByteArrayView>

namespace platform::ini {

// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool IsValidUtf8(QByteArrayView bytes);

// The length of the longest prefix of valid UTF-8 text that fits in maxBytes without cutting a
// character in half.
qsizetype Utf8CutLength(QByteArrayView text, qsizetype maxBytes);

}  // namespace platform::ini
