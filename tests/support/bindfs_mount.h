#pragma once
// A folder shown again through bindfs, a FUSE file system: what the program reads and writes
// through the mount point goes to the source folder by way of a user-space server, as on sshfs or
// a cloud drive, and a program writing the source folder directly is unseen by the kernel's view
// of the mounted files. Unmounted when destroyed.

#include <QString>
#include <QTemporaryDir>

namespace testing_support {

class BindfsMount {
 public:
  explicit BindfsMount(const QString& source);
  ~BindfsMount();
  BindfsMount(const BindfsMount&) = delete;
  BindfsMount& operator=(const BindfsMount&) = delete;

  // Why the mount failed (bindfs missing, no FUSE device); empty when it is mounted.
  const QString& error() const { return error_; }
  // The mount point, ending in "/".
  QString folder() const { return mountPoint_.path() + QStringLiteral("/"); }

 private:
  QTemporaryDir mountPoint_;
  QString error_;
};

}  // namespace testing_support
