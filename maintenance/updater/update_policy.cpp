#include "maintenance/updater/update_policy.h"

#include "libraries/ServerListFile.h"
#include "platform/download/url_download.h"
#include "platform/files/safe_read.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QUrl>

#include <algorithm>

namespace {

// The learner's library list, the program's settings and the installer's settings.
const QStringList kLearnersFiles = {QStringLiteral("TopicList.ini"), QStringLiteral("Settings.ini"),
                                    QStringLiteral("CORVELSETUP.ini")};

// The part of an ELF header that says what runs it: magic, class, byte order, then (after the
// ident and padding) the object type and the machine, at the same offsets in 32- and 64-bit files.
constexpr qsizetype kElfHeaderBytes = 20;
constexpr qsizetype kElfClass = 4;
constexpr qsizetype kElfByteOrder = 5;
constexpr qsizetype kElfType = 16;
constexpr qsizetype kElfMachine = 18;
constexpr char kElfByteOrderLittle = 1;
constexpr int kElfExecutable = 2;
constexpr int kElfSharedObject = 3;  // position-independent executables are of this type

QByteArray ElfHeader(const QString& path) {
  QFile file;
  if (!platform::OpenRegularFile(path, file)) return {};
  const QByteArray header = file.read(kElfHeaderBytes);
  if (header.size() != kElfHeaderBytes || !header.startsWith("\x7f" "ELF")) return {};
  return header;
}

int HalfWord(const QByteArray& header, qsizetype offset) {
  const auto low = static_cast<unsigned char>(header[offset]);
  const auto high = static_cast<unsigned char>(header[offset + 1]);
  return header[kElfByteOrder] == kElfByteOrderLittle ? low | (high << 8) : (low << 8) | high;
}

// A host that is a loopback address: 127.x.y.z, or ::1. The host comes as the address parser
// normalised it (short, octal and hexadecimal forms written out as the resolver reads them);
// names are not trusted to resolve to loopback.
bool IsLoopbackHost(const QString& host) {
  if (host == QStringLiteral("::1")) return true;
  const QStringList parts = host.split(QLatin1Char('.'));
  if (parts.size() != 4) return false;
  for (const QString& part : parts) {
    const bool digits = !part.isEmpty() && part.size() <= 3 &&
                        std::all_of(part.begin(), part.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    if (!digits || (part.size() > 1 && part.startsWith(u'0')) || part.toInt() > 255) return false;
  }
  return parts[0] == QStringLiteral("127");
}

const QByteArray& RunningProgramHeader() {
  static const QByteArray header = ElfHeader(QStringLiteral("/proc/self/exe"));
  return header;
}

}  // namespace

bool IsAcceptedUpdateAddress(const QString& address) {
  const QUrl url = QUrl::fromEncoded(platform::EncodedDownloadAddress(address), QUrl::StrictMode);
  if (!url.isValid() || url.host().isEmpty()) return false;
  const QString scheme = url.scheme().toLower();
  if (scheme == QStringLiteral("https")) return true;
  return scheme == QStringLiteral("http") && IsLoopbackHost(url.host());
}

std::optional<UpdateRefusal> UpdateTargetRefusal(const QString& toFileName) {
  if (toFileName == QStringLiteral("Error") || !IsBareFileName(toFileName)) return UpdateRefusal::BadFileName;
  if (IsLearnersFile(toFileName)) return UpdateRefusal::LearnersFile;
  return std::nullopt;
}

bool IsLearnersFile(const QString& fileName) { return kLearnersFiles.contains(fileName, Qt::CaseInsensitive); }

bool IsExecutableFile(const QString& path) {
  const QFileInfo file(path);
  return file.exists() &&
         (file.permissions() & (QFile::ExeOwner | QFile::ExeUser | QFile::ExeGroup | QFile::ExeOther)) != 0;
}

bool IsProgramOfThisMachine(const QString& path) {
  const QByteArray& ours = RunningProgramHeader();
  const QByteArray theirs = ElfHeader(path);
  if (ours.isEmpty() || theirs.isEmpty()) return false;
  const int type = HalfWord(theirs, kElfType);
  return theirs[kElfClass] == ours[kElfClass] && theirs[kElfByteOrder] == ours[kElfByteOrder] &&
         (type == kElfExecutable || type == kElfSharedObject) &&
         HalfWord(theirs, kElfMachine) == HalfWord(ours, kElfMachine);
}
