#pragma once
// Profile-string INI files with the semantics the program was designed around: sections and keys
// match without regard to case, blanks around keys and values are trimmed, one pair of double
// quotes around a value is stripped, and a missing file reads like a file without the key.
//
// "ANSI" files are UTF-8 here; a file that is not valid UTF-8 is read as GBK (code page 936)
// and, when written to, rewritten whole as UTF-8. A UTF-16LE file with a byte-order mark is read
// as UTF-16 and stays UTF-16 when written to. Nothing is cached: every call goes to the file.

#include <QString>

namespace platform {

// The value of the key, cut to bufferSize - 1 bytes of UTF-8 without splitting a character, or
// defaultValue (cut the same way) when the file, the section or the key is missing.
QString ReadProfileString(const QString& file, const QString& section, const QString& key,
                          const QString& defaultValue, int bufferSize = 255);

// Sets the key's value, creating the file and the section when they are missing. Every other line
// keeps its bytes. Written through a temporary file renamed over the old one, so a failure leaves
// the old file whole. Returns nonzero on success, 0 on failure (unwritable file or folder, a file
// that cannot be read, or a name or value that cannot be stored on one line).
long WriteProfileString(const QString& file, const QString& section, const QString& key,
                        const QString& value);

// The reader for callers with a UTF-16 buffer of bufferChars units: the value is cut to
// bufferChars - 1 UTF-16 units (never half a surrogate pair).
QString ReadProfileStringUnicode(const QString& file, const QString& section, const QString& key,
                                 const QString& defaultValue, int bufferChars);

}  // namespace platform
