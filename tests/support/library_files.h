#pragma once
// Word library files for tests: UTF-16LE with the byte-order mark, lines ended by CR LF.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace testing_support {

// The bytes of a library file holding `text` as it stands.
QByteArray LibraryBytes(const QString& text);
// The bytes of a library file holding `lines`, each ended by CR LF.
QByteArray LibraryBytes(const QStringList& lines);
// Decodes a library file's bytes (without the byte-order mark and a trailing lone byte) into its
// CR LF separated lines, empty ones dropped.
QStringList LibraryLines(const QByteArray& bytes);
// `count` word lines like "word0001@[wɜːd]n. 单词1".
QStringList SampleWordLines(int count);

}  // namespace testing_support
