#pragma once
// A small file system of its own for tests of full disks: a tmpfs mounted on a temporary folder
// and unmounted when the object goes. Mounting needs the right to mount (root, or a container
// that allows it); where it is refused, mounted() is false and the test skips.

#include <QString>
#include <QTemporaryDir>

namespace testing_support {

// Fills the free space of the file system that holds `folder` (ending in "/") with a filler
// file in it, so that the next write of any size fails; for a process that does not hold the
// mount (a child of the test).
void FillFreeSpace(const QString& folder);

class SmallFileSystem {
 public:
  // Mounts on mountPoint, an existing folder, or on a temporary folder of its own when empty.
  explicit SmallFileSystem(int kilobytes, const QString& mountPoint = {});
  ~SmallFileSystem();
  SmallFileSystem(const SmallFileSystem&) = delete;
  SmallFileSystem& operator=(const SmallFileSystem&) = delete;

  bool mounted() const { return mounted_; }
  QString error() const { return error_; }
  // The mount point, ending in "/".
  QString folder() const { return path_ + QStringLiteral("/"); }
  // Fills the free space with a filler file, so that the next write of any size fails.
  void fill() const;
  // Frees the space fill() took.
  void unfill() const;

 private:
  QTemporaryDir ownFolder_;
  QString path_;
  bool mounted_ = false;
  QString error_;
};

}  // namespace testing_support
