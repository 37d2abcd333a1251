#include "tests/support/read_only_folder.h"

#include <QFile>

#include <utility>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace testing_support {
namespace {

struct Capabilities {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
};

// Sets or clears CAP_DAC_OVERRIDE in the calling thread's effective set; true when it was set before.
bool SetDacOverride(bool on) {
  Capabilities caps;
  if (syscall(SYS_capget, &caps.header, caps.data) != 0) return false;
  const __u32 bit = CAP_TO_MASK(CAP_DAC_OVERRIDE);
  const bool wasOn = (caps.data[CAP_TO_INDEX(CAP_DAC_OVERRIDE)].effective & bit) != 0;
  if (on) {
    caps.data[CAP_TO_INDEX(CAP_DAC_OVERRIDE)].effective |= bit;
  } else {
    caps.data[CAP_TO_INDEX(CAP_DAC_OVERRIDE)].effective &= ~bit;
  }
  syscall(SYS_capset, &caps.header, caps.data);
  return wasOn;
}

constexpr QFile::Permissions kReadOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                         QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;

}  // namespace

ScopedReadOnlyFolder::ScopedReadOnlyFolder(QString folder) : folder_(std::move(folder)) {
  QFile::setPermissions(folder_, kReadOnly);
  droppedOverride_ = SetDacOverride(false);
}

ScopedReadOnlyFolder::~ScopedReadOnlyFolder() {
  if (droppedOverride_) SetDacOverride(true);
  QFile::setPermissions(folder_, kReadOnly | QFile::WriteOwner);
}

}  // namespace testing_support
