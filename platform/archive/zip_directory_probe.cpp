#include "platform/archive/zip_directory_probe.h"

#include "platform/files/safe_read.h"

#include <QByteArray>
#include <QtEndian>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

namespace platform {
namespace {

constexpr std::int64_t kTailBytes = 128 * 1024;
constexpr std::int64_t kEndRecordBytes = 22;
constexpr std::int64_t kZip64LocatorBytes = 20;
constexpr std::int64_t kZip64RecordBytes = 56;
constexpr std::int64_t kDirectoryHeaderBytes = 46;
// The largest directory entry the format allows: the fixed header, then a name, an extra field
// and a comment of up to 65,535 bytes each.
constexpr std::int64_t kLargestDirectoryEntry = kDirectoryHeaderBytes + 3 * 0xFFFF;
constexpr std::uint16_t kCountInZip64 = 0xFFFF;
constexpr std::uint32_t kSizeInZip64 = 0xFFFFFFFF;

constexpr char kEndSignature[] = "PK\5\6";
constexpr char kZip64EndSignature[] = "PK\6\6";
constexpr char kZip64LocatorSignature[] = "PK\6\7";
constexpr char kDirectorySignature[] = "PK\1\2";

std::uint16_t Le16(const char* at) { return qFromLittleEndian<std::uint16_t>(at); }
std::uint32_t Le32(const char* at) { return qFromLittleEndian<std::uint32_t>(at); }
std::uint64_t Le64(const char* at) { return qFromLittleEndian<std::uint64_t>(at); }
bool Signed(const char* at, const char* signature) { return std::memcmp(at, signature, 4) == 0; }

// Reads at any offset of the archive through one block, so a walk of small headers costs one
// system call per block, not per header.
class BlockReader {
 public:
  BlockReader(int fd, std::int64_t size) : fd_(fd), size_(size) {}
  std::int64_t size() const { return size_; }

  // `bytes` bytes from `offset` (at most one block), or nullptr when the archive ends before.
  const char* at(std::int64_t offset, std::int64_t bytes) {
    if (offset < 0 || bytes > kBlockBytes || offset > size_ - bytes) return nullptr;
    if (offset < start_ || offset + bytes > start_ + static_cast<std::int64_t>(block_.size())) {
      block_.resize(static_cast<size_t>(std::min(std::max(bytes, kLeastReadBytes), size_ - offset)));
      size_t filled = 0;
      while (filled < block_.size()) {
        const ssize_t got = ::pread(fd_, block_.data() + filled, block_.size() - filled,
                                    static_cast<off_t>(offset) + static_cast<off_t>(filled));
        if (got <= 0) break;
        filled += static_cast<size_t>(got);
      }
      block_.resize(filled);
      start_ = offset;
      if (static_cast<std::int64_t>(filled) < bytes) return nullptr;
    }
    return block_.data() + (offset - start_);
  }

 private:
  static constexpr std::int64_t kBlockBytes = kTailBytes;
  // Directory headers are read this much at a time: most of a directory's entries in one read,
  // without reading far ahead past a header whose long extra field is skipped.
  static constexpr std::int64_t kLeastReadBytes = 16 * 1024;
  int fd_;
  std::int64_t size_;
  std::vector<char> block_;
  std::int64_t start_ = 0;
};

// What the end records declare. Counts and sizes are as written, never trusted beyond refusing.
struct EndRecords {
  std::int64_t endOffset = 0;  // where the classic record begins
  std::uint64_t entries = 0;
  std::uint64_t directoryBytes = 0;
  std::vector<std::int64_t> directoryStarts;  // every place a reader may take the directory from
};

// The last classic end record in the archive's tail: the one a reader takes, even when a comment
// or stray bytes follow it.
std::optional<std::int64_t> FindEndRecord(BlockReader& reader) {
  const std::int64_t tail = std::min(reader.size(), kTailBytes);
  const std::int64_t tailStart = reader.size() - tail;
  const char* bytes = reader.at(tailStart, tail);
  if (bytes == nullptr) return std::nullopt;
  for (std::int64_t at = tail - kEndRecordBytes; at >= 0; --at) {
    if (bytes[at] == 'P' && Signed(bytes + at, kEndSignature)) return tailStart + at;
  }
  return std::nullopt;
}

void AddStart(EndRecords& records, std::uint64_t start, std::int64_t before) {
  if (start >= static_cast<std::uint64_t>(before)) return;
  const auto offset = static_cast<std::int64_t>(start);
  if (std::find(records.directoryStarts.begin(), records.directoryStarts.end(), offset) == records.directoryStarts.end()) {
    records.directoryStarts.push_back(offset);
  }
}

// Adds what a zip64 record declares, when the classic record at `endOffset` has a locator.
void ReadZip64(BlockReader& reader, EndRecords& records, std::uint16_t classicEntries, std::uint32_t classicBytes) {
  const char* locator = reader.at(records.endOffset - kZip64LocatorBytes, kZip64LocatorBytes);
  if (locator == nullptr || !Signed(locator, kZip64LocatorSignature)) return;
  const std::uint64_t recordOffset = Le64(locator + 8);
  if (recordOffset > static_cast<std::uint64_t>(records.endOffset)) return;
  const char* record = reader.at(static_cast<std::int64_t>(recordOffset), kZip64RecordBytes);
  if (record == nullptr || !Signed(record, kZip64EndSignature)) return;
  const std::uint64_t entries = std::max(Le64(record + 24), Le64(record + 32));
  const std::uint64_t bytes = Le64(record + 40);
  const std::uint64_t offset = Le64(record + 48);
  // A classic count of 0xFFFF only says "see the zip64 record"; any other count stands as well.
  records.entries = classicEntries == kCountInZip64 ? entries : std::max(records.entries, entries);
  records.directoryBytes = classicBytes == kSizeInZip64 ? bytes : std::max(records.directoryBytes, bytes);
  const auto recordStart = static_cast<std::int64_t>(recordOffset);
  AddStart(records, offset, recordStart);
  if (bytes <= recordOffset) AddStart(records, recordOffset - bytes, recordStart);
}

std::optional<EndRecords> ReadEndRecords(BlockReader& reader) {
  const std::optional<std::int64_t> found = FindEndRecord(reader);
  if (!found) return std::nullopt;
  const char* record = reader.at(*found, kEndRecordBytes);
  if (record == nullptr) return std::nullopt;
  EndRecords records;
  records.endOffset = *found;
  const std::uint16_t entries = std::max(Le16(record + 8), Le16(record + 10));
  const std::uint32_t bytes = Le32(record + 12);
  const std::uint32_t offset = Le32(record + 16);
  records.entries = entries;
  records.directoryBytes = bytes;
  AddStart(records, offset, records.endOffset);
  if (bytes <= records.endOffset) AddStart(records, static_cast<std::uint64_t>(records.endOffset) - bytes, records.endOffset);
  ReadZip64(reader, records, entries, bytes);
  return records;
}

// Counts directory entries from `start` until the directory ends (an end record, or anything
// that is no directory entry) or one more than `maxEntries` is seen.
std::int64_t CountDirectoryEntries(BlockReader& reader, std::int64_t start, int maxEntries) {
  std::int64_t count = 0;
  std::int64_t at = start;
  while (count <= maxEntries) {
    const char* header = reader.at(at, kDirectoryHeaderBytes);
    if (header == nullptr || !Signed(header, kDirectorySignature)) break;
    ++count;
    at += kDirectoryHeaderBytes + Le16(header + 28) + Le16(header + 30) + Le16(header + 32);
  }
  return count;
}

}  // namespace

ZipDirectoryProbe ProbeZipDirectory(const QString& archivePath, int maxEntries) {
  ReadStatus status = ReadStatus::Missing;
  const FileDescriptor file = OpenRegularFile(archivePath, status);
  struct stat info {};
  if (status != ReadStatus::Ok || ::fstat(file.get(), &info) != 0) return {};
  BlockReader reader(file.get(), info.st_size);
  const std::optional<EndRecords> records = ReadEndRecords(reader);
  if (!records) return {};
  const auto limit = static_cast<std::uint64_t>(std::max(maxEntries, 0));
  if (records->entries > limit) return {ZipDirectoryVerdict::TooManyEntries, {}};
  if (records->directoryBytes > records->entries * static_cast<std::uint64_t>(kLargestDirectoryEntry)) {
    return {ZipDirectoryVerdict::Inconsistent,
            QStringLiteral("Central directory of %1 bytes is too large for the %2 entries declared")
                .arg(records->directoryBytes)
                .arg(records->entries)};
  }
  for (const std::int64_t start : records->directoryStarts) {
    if (CountDirectoryEntries(reader, start, maxEntries) > maxEntries) return {ZipDirectoryVerdict::TooManyEntries, {}};
  }
  return {};
}

}  // namespace platform
