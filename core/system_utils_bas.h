#pragma once
// Small shared procedures of the core: splitting a library path, reading one value of a Unicode
// INI file, the platform's version number and the score board's empty step hook.

#include <QString>

// The folder part of a path, up to and including its last separator ("/" or "\", so lists written
// on Windows still split); empty when the path has none. Blanks around the path and the part are
// removed.
QString GetFolderPart(const QString& path);

// The file-name part of a path, after its last separator; the whole (trimmed) path when it has
// none. The folder part followed by the file-name part is the path again.
QString GetFileNamePart(const QString& path);

// One value of an INI file through the Unicode reader with a buffer of 128 characters (so at most
// 127 arrive), NUL characters removed; "Error" when the file, section or key is missing. A caller
// that must not lose the end of a long value passes a larger buffer.
inline constexpr int kIniUnicodeBufferChars = 128;
QString ReadIniUnicode(const QString& file, const QString& section, const QString& key,
                       int bufferChars = kIniUnicodeBufferChars);

// The platform version as major + minor / 100. This platform reports 6.01, the value for which the
// bar's start leaves the translucency to the WordTransparent setting alone.
double GetWindowsVersion();

// Called by the score board's upload steps with the step's code and description; does nothing.
void SendStepNoOp(const QString& code, const QString& description);
