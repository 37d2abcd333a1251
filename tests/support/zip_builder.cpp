#include "tests/support/zip_builder.h"

#include "platform/archive/utf8_ctype.h"

#include <archive.h>
#include <archive_entry.h>

#include <memory>

namespace testing_support {
namespace {

la_ssize_t AppendToBuffer(archive*, void* buffer, const void* data, size_t size) {
  static_cast<QByteArray*>(buffer)->append(static_cast<const char*>(data), static_cast<qsizetype>(size));
  return static_cast<la_ssize_t>(size);
}

struct WriterDeleter {
  void operator()(archive* writer) const { archive_write_free(writer); }
};
struct EntryDeleter {
  void operator()(archive_entry* entry) const { archive_entry_free(entry); }
};

}  // namespace

QByteArray BuildZip(const std::vector<ZipEntry>& entries, ZipNames names) {
  const platform::ScopedUtf8Ctype utf8;
  QByteArray zip;
  std::unique_ptr<archive, WriterDeleter> writer(archive_write_new());
  archive_write_set_format_zip(writer.get());
  archive_write_set_options(writer.get(), names == ZipNames::Gbk ? "zip:hdrcharset=CP936" : "zip:hdrcharset=UTF-8");
  archive_write_open(writer.get(), &zip, nullptr, &AppendToBuffer, nullptr);
  for (const ZipEntry& item : entries) {
    std::unique_ptr<archive_entry, EntryDeleter> entry(archive_entry_new());
    archive_entry_copy_pathname(entry.get(), item.name.toUtf8().constData());
    switch (item.kind) {
      case ZipEntry::File:
        archive_entry_set_filetype(entry.get(), AE_IFREG);
        archive_entry_set_perm(entry.get(), 0644);
        archive_entry_set_size(entry.get(), item.content.size());
        break;
      case ZipEntry::Folder:
        archive_entry_set_filetype(entry.get(), AE_IFDIR);
        archive_entry_set_perm(entry.get(), 0755);
        break;
      case ZipEntry::Symlink:
        archive_entry_set_filetype(entry.get(), AE_IFLNK);
        archive_entry_set_perm(entry.get(), 0777);
        archive_entry_copy_symlink(entry.get(), item.content.constData());
        break;
    }
    archive_write_header(writer.get(), entry.get());
    if (item.kind == ZipEntry::File) archive_write_data(writer.get(), item.content.constData(), item.content.size());
  }
  archive_write_close(writer.get());
  return zip;
}

}  // namespace testing_support
