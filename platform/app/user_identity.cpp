#include "platform/app/user_identity.h"

#include <QSysInfo>

#include <pwd.h>
#include <unistd.h>

#include <vector>

namespace platform {
namespace {

// The login name of the real user of the process, or empty.
QString LoginName() {
  const long suggested = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(static_cast<std::size_t>(suggested > 0 ? suggested : 16384));
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr ||
      found->pw_name == nullptr) {
    return {};
  }
  return QString::fromLocal8Bit(found->pw_name);
}

}  // namespace

QString UserIdentity() {
  const QString name = LoginName();
  if (name.isEmpty()) return {};
  QString host = QSysInfo::machineHostName();
  if (host.isEmpty()) host = QStringLiteral("localhost");
  return name + QLatin1Char('@') + host;
}

}  // namespace platform
