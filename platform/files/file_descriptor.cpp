#include "platform/files/file_descriptor.h"

#include <unistd.h>

namespace platform {

FileDescriptor::~FileDescriptor() { close(); }

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
  if (this != &other) {
    close();
    fd_ = other.release();
  }
  return *this;
}

int FileDescriptor::release() {
  const int fd = fd_;
  fd_ = -1;
  return fd;
}

bool FileDescriptor::close() {
  if (fd_ < 0) return true;
  // Linux closes the descriptor even when close() reports EINTR: never retry it.
  const int result = ::close(release());
  return result == 0;
}

}  // namespace platform
