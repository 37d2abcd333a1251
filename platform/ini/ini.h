#pragma once
// Profile-string INI files with the semantics the program was designed around: sections and keys
// match without regard to case, blanks around keys and values are trimmed, one pair of double
// quotes around a value is stripped, and a missing file reads like a file without the key.
//
// "ANSI" files are UTF-8 here; a file that is not valid UTF-8 is read as GBK (code page 936)
// and, when written to, rewritten whole as UTF-8. A UTF-16LE file with a byte-order mark is read
// as UTF-16 and stays UTF-16 when written to. Nothing is cached: every call goes to the file.

#include <QHash>
#include <QString>
#include <QStringList>

namespace platform {

// The value of the key, cut to bufferSize - 1 bytes as the file stores it (GBK bytes in a GBK
// file, UTF-8 bytes otherwise) without splitting a character, or defaultValue (cut as UTF-8) when
// the file, the section or the key is missing.
QString ReadProfileString(const QString& file, const QString& section, const QString& key,
                          const QString& defaultValue, int bufferSize = 255);

// Sets the key's value, creating the file and the section when they are missing. Every other line
// keeps its bytes. Written through a temporary file renamed over the old one, so a failure leaves
// the old file whole. Returns nonzero on success, 0 on failure (unwritable file or folder, a file
// that cannot be read, or a name or value that cannot be stored on one line).
long WriteProfileString(const QString& file, const QString& section, const QString& key,
                        const QString& value);

// Removes the key's line (the one the reader finds), as the Windows writer does when it is given
// no value; every other line keeps its bytes. A missing file, section or key is left as it is and
// counts as success. Returns nonzero on success, 0 when the file could not be rewritten.
long DeleteProfileKey(const QString& file, const QString& section, const QString& key);

// The reader for callers with a UTF-16 buffer of bufferChars units: the value is cut to
// bufferChars - 1 UTF-16 units (never half a surrogate pair).
QString ReadProfileStringUnicode(const QString& file, const QString& section, const QString& key,
                                 const QString& defaultValue, int bufferChars);

// A file's sections read once, for callers that look up many keys in one go (a library list of a
// thousand entries): the same names, values and rules as ReadProfileString, without reading the
// file again for every key. Later writes to the file are not seen.
class ProfileSnapshot {
 public:
  explicit ProfileSnapshot(const QString& file);

  // The section names in file order, one per header line (a line whose first non-blank character
  // is "["), duplicates kept; the name ends at the first "]" and a missing "]" on the last line
  // still counts. Empty when the file is missing or unreadable.
  const QStringList& sectionNames() const { return sectionNames_; }

  // As ReadProfileString on the file at the time of the snapshot.
  QString read(const QString& section, const QString& key, const QString& defaultValue, int bufferSize = 255) const;

 private:
  QStringList sectionNames_;
  // Folded section name -> folded key name -> stored value (UTF-8, quotes stripped); the first
  // occurrence in file order wins, as the reader's first match does.
  QHash<QString, QHash<QString, QByteArray>> values_;
  bool storedAsGbk_ = false;  // values are cut by their GBK bytes
};

// Every section name of a file in file order (see ProfileSnapshot::sectionNames).
QStringList ReadProfileSectionNames(const QString& file);

}  // namespace platform
