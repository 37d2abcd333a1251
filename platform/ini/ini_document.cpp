#include "platform/ini/ini_document.h"

#include "platform/ini/gbk_codec.h"
#include "platform/ini/utf8_text.h"

#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::ini {
namespace {

// A file descriptor, closed when it goes out of scope.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

enum class ReadOutcome { Ok, Missing, Failed };

// Plain POSIX reads: settings are read on every access, so opening a file must stay cheap.
ReadOutcome ReadWholeFile(const QString& path, QByteArray& bytes) {
  if (path.isEmpty()) return ReadOutcome::Missing;
  const FileDescriptor file(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) {
    return (errno == ENOENT || errno == ENOTDIR) ? ReadOutcome::Missing : ReadOutcome::Failed;
  }
  struct stat info {};
  if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) return ReadOutcome::Failed;

  // Writers replace the file by renaming a new one over it, so the open file keeps its size: read
  // exactly that much (a file cut short meanwhile ends the read early).
  bytes.resize(static_cast<qsizetype>(info.st_size));
  qsizetype filled = 0;
  while (filled < bytes.size()) {
    const ssize_t got = ::read(file.get(), bytes.data() + filled, static_cast<size_t>(bytes.size() - filled));
    if (got < 0) {
      if (errno == EINTR) continue;
      return ReadOutcome::Failed;
    }
    if (got == 0) break;
    filled += got;
  }
  bytes.truncate(filled);
  return ReadOutcome::Ok;
}

bool HasUtf16LeBom(const QByteArray& bytes) {
  return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
         static_cast<unsigned char>(bytes[1]) == 0xFE;
}

QByteArray DecodeUtf16Le(QByteArrayView bytes) {
  QString text(bytes.size() / 2, Qt::Uninitialized);
  for (qsizetype i = 0; i < text.size(); ++i) {
    const auto low = static_cast<unsigned char>(bytes[2 * i]);
    const auto high = static_cast<unsigned char>(bytes[2 * i + 1]);
    text[i] = QChar(static_cast<char16_t>(low | (high << 8)));
  }
  return text.toUtf8();
}

// Each line on its own: well-formed UTF-8 stays, anything else is taken as GBK.
QByteArray DecodeLineByLine(const QByteArray& raw) {
  QByteArray text;
  text.reserve(raw.size() + raw.size() / 2);
  qsizetype begin = 0;
  while (begin < raw.size()) {
    qsizetype end = raw.indexOf('\n', begin);
    end = end < 0 ? raw.size() : end + 1;
    const QByteArrayView line(raw.constData() + begin, end - begin);
    if (IsValidUtf8(line)) {
      text.append(line);
    } else {
      text.append(GbkToUtf8Lenient(line));
    }
    begin = end;
  }
  return text;
}

}  // namespace

IniDocument LoadIniDocument(const QString& path) {
  IniDocument document;
  switch (ReadWholeFile(path, document.raw)) {
    case ReadOutcome::Missing:
      return document;
    case ReadOutcome::Failed:
      document.readable = false;
      return document;
    case ReadOutcome::Ok:
      break;
  }

  if (HasUtf16LeBom(document.raw)) {
    document.encoding = FileEncoding::Utf16Le;
    document.text = DecodeUtf16Le(QByteArrayView(document.raw).sliced(2));
  } else if (IsValidUtf8(document.raw)) {
    document.encoding = FileEncoding::Utf8;
    document.text = document.raw;
  } else if (auto converted = GbkToUtf8(document.raw)) {
    document.encoding = FileEncoding::Gbk;
    document.text = std::move(*converted);
  } else {
    document.encoding = FileEncoding::Mixed;
    document.text = DecodeLineByLine(document.raw);
  }
  return document;
}

QByteArray EncodeUtf16LeWithBom(QByteArrayView utf8) {
  const QString text = QString::fromUtf8(utf8);
  QByteArray bytes;
  bytes.reserve(2 + text.size() * 2);
  bytes.append('\xFF').append('\xFE');
  for (const QChar unit : text) {
    bytes.append(static_cast<char>(unit.unicode() & 0xFF));
    bytes.append(static_cast<char>(unit.unicode() >> 8));
  }
  return bytes;
}

}  // namespace platform::ini
