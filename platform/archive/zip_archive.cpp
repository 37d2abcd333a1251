#include "platform/archive/zip_archive.h"

#include "platform/archive/utf8_ctype.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <optional>

namespace platform {
namespace {

constexpr size_t kReadBlockBytes = 256 * 1024;

struct ReaderDeleter {
  void operator()(archive* reader) const { archive_read_free(reader); }
};
struct WriterDeleter {
  void operator()(archive* writer) const { archive_write_free(writer); }
};
using Reader = std::unique_ptr<archive, ReaderDeleter>;
using Writer = std::unique_ptr<archive, WriterDeleter>;

// The writer refuses absolute names, so the entries are written relative to the target folder,
// made the current folder for the unpacking and restored afterwards. Nothing else runs on the
// program's thread meanwhile.
class ScopedCurrentFolder {
 public:
  explicit ScopedCurrentFolder(const QByteArray& folder) {
    previous_ = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    entered_ = previous_ >= 0 && ::chdir(folder.constData()) == 0;
  }
  ~ScopedCurrentFolder() {
    if (previous_ < 0) return;
    if (entered_ && ::fchdir(previous_) != 0) std::abort();  // never go on in the wrong folder
    ::close(previous_);
  }
  ScopedCurrentFolder(const ScopedCurrentFolder&) = delete;
  ScopedCurrentFolder& operator=(const ScopedCurrentFolder&) = delete;

  bool entered() const { return entered_; }

 private:
  int previous_ = -1;
  bool entered_ = false;
};

Reader OpenZip(const QString& path) {
  Reader reader(archive_read_new());
  if (!reader) return nullptr;
  archive_read_support_format_zip(reader.get());
  archive_read_set_options(reader.get(), "zip:hdrcharset=CP936");
  if (archive_read_open_filename(reader.get(), QFile::encodeName(path).constData(), kReadBlockBytes) != ARCHIVE_OK) {
    return nullptr;
  }
  return reader;
}

bool IsLink(archive_entry* entry) {
  return archive_entry_filetype(entry) == AE_IFLNK || archive_entry_hardlink(entry) != nullptr;
}

bool IsFileOrFolder(archive_entry* entry) {
  const auto type = archive_entry_filetype(entry);
  return type == AE_IFREG || type == AE_IFDIR;
}

// The entry's name with "/" separators (archives made on Windows may use backslashes), or
// nothing when it would leave the target folder.
std::optional<QString> SafeEntryName(const QString& stored) {
  QString name = stored;
  name.replace('\\', '/');
  if (name.startsWith('/')) return std::nullopt;
  if (name.size() >= 2 && name.at(1) == ':') return std::nullopt;  // a drive letter
  const QStringList steps = name.split('/', Qt::SkipEmptyParts);
  for (const QString& step : steps) {
    if (step == "..") return std::nullopt;
  }
  return steps.join('/');
}

QString EntryName(archive_entry* entry) {
  if (const char* utf8 = archive_entry_pathname_utf8(entry)) return QString::fromUtf8(utf8);
  return {};
}

// First pass: every entry's name must decode and stay inside the folder.
UnpackResult CheckEntries(const QString& archivePath) {
  Reader reader = OpenZip(archivePath);
  if (!reader) return UnpackResult::CannotOpen;
  archive_entry* entry = nullptr;
  int status = ARCHIVE_OK;
  while ((status = archive_read_next_header(reader.get(), &entry)) != ARCHIVE_EOF) {
    if (status == ARCHIVE_WARN) return UnpackResult::BadName;  // a name the code page cannot convert
    if (status != ARCHIVE_OK) return UnpackResult::Damaged;
    if (IsLink(entry)) continue;
    const QString name = EntryName(entry);
    if (name.isEmpty()) return UnpackResult::BadName;
    if (!SafeEntryName(name)) return UnpackResult::UnsafeEntry;
  }
  return UnpackResult::Unpacked;
}

bool CopyData(archive* reader, archive* writer) {
  const void* block = nullptr;
  size_t size = 0;
  la_int64_t offset = 0;
  int status = ARCHIVE_OK;
  while ((status = archive_read_data_block(reader, &block, &size, &offset)) == ARCHIVE_OK) {
    if (archive_write_data_block(writer, block, size, offset) != ARCHIVE_OK) return false;
  }
  return status == ARCHIVE_EOF;
}

UnpackResult WriteEntries(const QString& archivePath) {
  Reader reader = OpenZip(archivePath);
  if (!reader) return UnpackResult::CannotOpen;
  Writer writer(archive_write_disk_new());
  if (!writer) return UnpackResult::Damaged;
  archive_write_disk_set_options(writer.get(), ARCHIVE_EXTRACT_TIME | ARCHIVE_EXTRACT_SECURE_NODOTDOT |
                                                   ARCHIVE_EXTRACT_SECURE_NOABSOLUTEPATHS |
                                                   ARCHIVE_EXTRACT_SECURE_SYMLINKS);
  archive_entry* entry = nullptr;
  int status = ARCHIVE_OK;
  while ((status = archive_read_next_header(reader.get(), &entry)) != ARCHIVE_EOF) {
    if (status != ARCHIVE_OK) return UnpackResult::Damaged;
    if (IsLink(entry) || !IsFileOrFolder(entry)) continue;
    const std::optional<QString> name = SafeEntryName(EntryName(entry));
    if (!name || name->isEmpty()) continue;  // "./" and the like: nothing to write
    archive_entry_set_pathname_utf8(entry, name->toUtf8().constData());
    if (archive_write_header(writer.get(), entry) != ARCHIVE_OK) return UnpackResult::Damaged;
    if (archive_entry_size(entry) > 0 && !CopyData(reader.get(), writer.get())) return UnpackResult::Damaged;
    if (archive_write_finish_entry(writer.get()) != ARCHIVE_OK) return UnpackResult::Damaged;
  }
  return archive_write_close(writer.get()) == ARCHIVE_OK ? UnpackResult::Unpacked : UnpackResult::Damaged;
}

}  // namespace

UnpackResult UnpackZip(const QString& archive, const QString& folder) {
  // The archive is opened again after the current folder changed: it needs a full path.
  const QString archivePath = QFileInfo(archive).absoluteFilePath();
  ScopedUtf8Ctype utf8;
  const UnpackResult check = CheckEntries(archivePath);
  if (check != UnpackResult::Unpacked) return check;
  ScopedCurrentFolder inFolder(QFile::encodeName(folder));
  if (!inFolder.entered()) return UnpackResult::Damaged;
  return WriteEntries(archivePath);
}

}  // namespace platform
