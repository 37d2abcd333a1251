#pragma once
// Builds zip archives in memory for tests (libarchive's writer): files, folders and symbolic
// links, with names stored as UTF-8 or, like archives made on a Chinese Windows system, as GBK.

#include <QByteArray>
#include <QString>

#include <vector>

namespace testing_support {

struct ZipEntry {
  enum Kind { File, Folder, Symlink };
  QString name;
  QByteArray content;  // a file's bytes, or a link's target
  Kind kind = File;
};

enum class ZipNames { Utf8, Gbk };

QByteArray BuildZip(const std::vector<ZipEntry>& entries, ZipNames names = ZipNames::Utf8);

}  // namespace testing_support
