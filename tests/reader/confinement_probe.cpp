// A stand-in for a reader gone rogue: bounds itself exactly as the reader does, then tries one
// thing the confinement should stop. Its exit status says what the kernel did.
//   confinement_probe <writable folder> write <path> | connect <port> | exec | fork
// Exit 0: done; 1: refused by the kernel; 2: failed for another reason; 3: could not confine.
// It first prints the kernel's Landlock version on a line of its own.

#include "platform/reader/reader_process.h"
#include "reader/confinement.h"

#include <QFile>
#include <QString>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int Refused(int error) { return error == EPERM || error == EACCES ? 1 : 2; }

int TryWrite(const char* path) {
  const int fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return Refused(errno);
  ::close(fd);
  return 0;
}

int TryConnect(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return Refused(errno);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const int connected = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  const int error = errno;
  ::close(fd);
  return connected == 0 ? 0 : Refused(error);
}

int TryExec() {
  char* const arguments[] = {const_cast<char*>("/bin/true"), nullptr};
  ::execv("/bin/true", arguments);
  return Refused(errno);
}

int TryFork() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  if (child < 0) return Refused(errno);
  ::waitpid(child, nullptr, 0);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const reader::ConfinementResult confinement = reader::Confine(platform::reader::ReaderLimits{}, QFile::decodeName(argv[1]));
  std::printf("%d\n", confinement.landlockAbi);
  std::fflush(stdout);
  if (!confinement.confined) {
    std::fprintf(stderr, "%s\n", confinement.failure.toLocal8Bit().constData());
    return 3;
  }
  const char* action = argv[2];
  if (std::strcmp(action, "write") == 0 && argc == 4) return TryWrite(argv[3]);
  if (std::strcmp(action, "connect") == 0 && argc == 4) return TryConnect(std::atoi(argv[3]));
  if (std::strcmp(action, "exec") == 0) return TryExec();
  if (std::strcmp(action, "fork") == 0) return TryFork();
  return 2;
}
