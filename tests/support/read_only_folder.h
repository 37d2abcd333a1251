#pragma once
// Makes a folder read-only for the lifetime of this object, so tests can check that a failed
// write leaves the old files whole. Tests run as root in CI, and root ignores permission bits;
// so while the folder is read-only the calling thread also drops the capability that overrides
// them, and takes it back afterwards.

#include <QString>

namespace testing_support {

class ScopedReadOnlyFolder {
 public:
  explicit ScopedReadOnlyFolder(QString folder);
  ~ScopedReadOnlyFolder();
  ScopedReadOnlyFolder(const ScopedReadOnlyFolder&) = delete;
  ScopedReadOnlyFolder& operator=(const ScopedReadOnlyFolder&) = delete;

 private:
  QString folder_;
  bool droppedOverride_ = false;
};

}  // namespace testing_support
