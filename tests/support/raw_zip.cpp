#include "tests/support/raw_zip.h"

#include <QtEndian>

#include <algorithm>

namespace testing_support {
namespace {

constexpr std::uint16_t kUtf8Flag = 0x0800;
constexpr std::uint16_t kMadeByUnix = 0x031E;
constexpr std::uint32_t kRegularFileAttributes = 0100644u << 16;

void Put16(QByteArray& out, std::uint64_t value) {
  char bytes[2];
  qToLittleEndian(static_cast<std::uint16_t>(value), bytes);
  out.append(bytes, 2);
}
void Put32(QByteArray& out, std::uint64_t value) {
  char bytes[4];
  qToLittleEndian(static_cast<std::uint32_t>(value), bytes);
  out.append(bytes, 4);
}
void Put64(QByteArray& out, std::uint64_t value) {
  char bytes[8];
  qToLittleEndian(value, bytes);
  out.append(bytes, 8);
}

// The zip checksum (CRC-32, reflected polynomial 0xEDB88320), bit by bit: test archives are small.
std::uint32_t Crc32(const QByteArray& bytes) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (const char byte : bytes) {
    crc ^= static_cast<unsigned char>(byte);
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

std::uint16_t VersionNeeded(const RawZipEntry& entry) { return entry.method == 0 || entry.method == 8 ? 20 : 63; }

}  // namespace

RawZipEntry RawEntry(const QByteArray& name, const QByteArray& data, std::uint16_t method,
                     std::optional<std::uint32_t> size, std::optional<std::uint32_t> localSize, bool utf8Name) {
  return RawZipEntry{name, data, method, size, localSize, utf8Name};
}

RawZipEnd RawEnd(std::optional<std::uint64_t> entries, std::optional<std::uint64_t> directoryBytes, bool zip64,
                 const QByteArray& comment, const QByteArray& trailing, const QByteArray& junkInFront) {
  return RawZipEnd{entries, directoryBytes, zip64, comment, trailing, junkInFront};
}

QByteArray BuildRawZip(const std::vector<RawZipEntry>& entries, const RawZipEnd& end) {
  QByteArray zip;
  QByteArray directory;
  for (const RawZipEntry& entry : entries) {
    const std::uint64_t offset = static_cast<std::uint64_t>(zip.size());
    const std::uint32_t crc = Crc32(entry.data);
    const std::uint32_t size = entry.size.value_or(static_cast<std::uint32_t>(entry.data.size()));
    const std::uint16_t flags = entry.utf8Name ? kUtf8Flag : 0;
    Put32(zip, 0x04034b50);
    Put16(zip, VersionNeeded(entry));
    Put16(zip, flags);
    Put16(zip, entry.method);
    Put32(zip, 0x21);  // time and date: 1980-01-01 00:00:02
    Put32(zip, crc);
    Put32(zip, entry.data.size());
    Put32(zip, entry.localSize.value_or(size));
    Put16(zip, entry.name.size());
    Put16(zip, 0);
    zip += entry.name;
    zip += entry.data;

    Put32(directory, 0x02014b50);
    Put16(directory, kMadeByUnix);
    Put16(directory, VersionNeeded(entry));
    Put16(directory, flags);
    Put16(directory, entry.method);
    Put32(directory, 0x21);
    Put32(directory, crc);
    Put32(directory, entry.data.size());
    Put32(directory, size);
    Put16(directory, entry.name.size());
    Put16(directory, 0);  // extra field
    Put16(directory, 0);  // comment
    Put16(directory, 0);  // disk
    Put16(directory, 0);  // internal attributes
    Put32(directory, kRegularFileAttributes);
    Put32(directory, offset);
    directory += entry.name;
  }
  const std::uint64_t directoryOffset = static_cast<std::uint64_t>(zip.size());
  zip += directory;
  const std::uint64_t count = end.entries.value_or(entries.size());
  const std::uint64_t bytes = end.directoryBytes.value_or(static_cast<std::uint64_t>(directory.size()));
  if (end.zip64) {
    const std::uint64_t recordOffset = static_cast<std::uint64_t>(zip.size());
    Put32(zip, 0x06064b50);
    Put64(zip, 44);  // the record's size after this field
    Put16(zip, 45);
    Put16(zip, 45);
    Put32(zip, 0);
    Put32(zip, 0);
    Put64(zip, count);
    Put64(zip, count);
    Put64(zip, bytes);
    Put64(zip, directoryOffset);
    Put32(zip, 0x07064b50);  // the locator
    Put32(zip, 0);
    Put64(zip, recordOffset);
    Put32(zip, 1);
  }
  Put32(zip, 0x06054b50);
  Put16(zip, 0);
  Put16(zip, 0);
  Put16(zip, end.zip64 ? 0xFFFF : std::min<std::uint64_t>(count, 0xFFFF));
  Put16(zip, end.zip64 ? 0xFFFF : std::min<std::uint64_t>(count, 0xFFFF));
  Put32(zip, end.zip64 ? 0xFFFFFFFF : bytes);
  Put32(zip, end.zip64 ? 0xFFFFFFFF : directoryOffset);
  Put16(zip, end.comment.size());
  zip += end.comment;
  zip += end.trailing;
  return end.junkInFront + zip;
}

std::vector<RawZipEntry> ManyEmptyEntries(int count, const QByteArray& prefix) {
  std::vector<RawZipEntry> entries(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) entries[static_cast<size_t>(i)].name = prefix + QByteArray::number(i).rightJustified(7, '0');
  return entries;
}

}  // namespace testing_support
