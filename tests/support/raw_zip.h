#pragma once
// Builds zip archives byte by byte for tests, where the archive library's writer would refuse to
// go: entries whose local header and directory disagree, compression methods the writer cannot
// make (LZMA, PPMd) with data of our choosing, end records that lie about the directory, zip64 end
// records, bytes after the end record, and junk in front of it all. Every entry is stored as given
// (no compression is done).

#include <QByteArray>

#include <cstdint>
#include <optional>
#include <vector>

namespace testing_support {

struct RawZipEntry {
  QByteArray name;
  QByteArray data;                           // written as it is, whatever the method
  std::uint16_t method = 0;                  // 0 stored, 8 deflate, 14 LZMA, 98 PPMd ...
  std::optional<std::uint32_t> size;         // the uncompressed size declared (default: data's size)
  std::optional<std::uint32_t> localSize;    // the uncompressed size in the local header, when it differs
  bool utf8Name = true;                      // the UTF-8 flag; without it names are read as GBK
};

struct RawZipEnd {
  std::optional<std::uint64_t> entries;         // the entry count declared (default: the true one)
  std::optional<std::uint64_t> directoryBytes;  // the directory size declared (default: the true one)
  bool zip64 = false;                           // counts, size and offset only in a zip64 end record
  QByteArray comment;                           // the archive comment, declared in the end record
  QByteArray trailing;                          // bytes after the end record that it does not declare
  // Bytes in front of the archive that no offset counts: the end record places the directory
  // that many bytes too early, so a reader finds it only by searching forward.
  QByteArray junkInFront;
};

// The same with every field given in one call, for tables of cases.
RawZipEntry RawEntry(const QByteArray& name, const QByteArray& data, std::uint16_t method = 0,
                     std::optional<std::uint32_t> size = {}, std::optional<std::uint32_t> localSize = {},
                     bool utf8Name = true);
RawZipEnd RawEnd(std::optional<std::uint64_t> entries, std::optional<std::uint64_t> directoryBytes, bool zip64,
                 const QByteArray& comment = {}, const QByteArray& trailing = {},
                 const QByteArray& junkInFront = {});

QByteArray BuildRawZip(const std::vector<RawZipEntry>& entries, const RawZipEnd& end = {});

// `count` empty stored files "<prefix>0000001" ... , quickly, for archives of many entries.
std::vector<RawZipEntry> ManyEmptyEntries(int count, const QByteArray& prefix);

}  // namespace testing_support
