#pragma once
// An open POSIX file descriptor that closes itself: every read and write helper of this folder
// holds its files through one, so no path out of a helper leaks a descriptor.

namespace platform {

class FileDescriptor {
 public:
  FileDescriptor() = default;
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor();
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.release()) {}
  FileDescriptor& operator=(FileDescriptor&& other) noexcept;
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Gives the descriptor up to a new owner (which must close it).
  int release();
  // Closes now; false when the system reported an error (a late write failure on some file
  // systems). The descriptor is gone either way.
  bool close();

 private:
  int fd_ = -1;
};

}  // namespace platform
