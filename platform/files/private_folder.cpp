#include "platform/files/private_folder.h"

#include "platform/files/disk_sync.h"
#include "platform/files/own_temporary_names.h"

#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace platform {

PrivateFolder::PrivateFolder(const QString& parent) {
  QString base = parent;
  if (!base.endsWith(QLatin1Char('/'))) base += QLatin1Char('/');
  QByteArray name = QFile::encodeName(base + TemporaryNameStem(QStringLiteral("lexorn"), TemporaryKind::Unpack)) + "XXXXXX";
  if (::mkdtemp(name.data()) == nullptr) {  // mode 0700
    errorNumber_ = errno;
    error_ = SystemErrorText(errorNumber_);
    return;
  }
  path_ = QFile::decodeName(name) + QLatin1Char('/');
}

PrivateFolder::~PrivateFolder() {
  if (path_.isEmpty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(QFile::encodeName(path_).toStdString(), ignored);
}

}  // namespace platform
