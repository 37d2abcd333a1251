#include "platform/files/private_folder.h"

#include "platform/files/disk_sync.h"
#include "platform/files/own_temporary_names.h"
#include "platform/files/replace_journal.h"

#include <QFile>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

namespace platform {

PrivateFolder::PrivateFolder(const QString& parent) {
  QString base = parent;
  if (!base.endsWith(QLatin1Char('/'))) base += QLatin1Char('/');
  for (int attempt = 0; attempt < 16; ++attempt) {
    const QByteArray name = QFile::encodeName(base + NewTemporaryName(PrivateFolderBaseName(), TemporaryKind::Unpack));
    // Readable by this user only, whatever the umask: the next start recognises the folder by it.
    if (::mkdir(name.constData(), 0700) == 0) {
      if (::chmod(name.constData(), 0700) == 0) {
        path_ = QFile::decodeName(name) + QLatin1Char('/');
        return;
      }
      errorNumber_ = errno;
      ::rmdir(name.constData());
      break;
    }
    errorNumber_ = errno;
    if (errorNumber_ != EEXIST) break;
  }
  error_ = SystemErrorText(errorNumber_);
}

PrivateFolder::~PrivateFolder() {
  if (path_.isEmpty()) return;
  struct stat journal {};
  if (::lstat(QFile::encodeName(path_ + ReplaceJournalName()).constData(), &journal) == 0) return;
  std::error_code ignored;
  std::filesystem::remove_all(QFile::encodeName(path_).toStdString(), ignored);
}

}  // namespace platform
