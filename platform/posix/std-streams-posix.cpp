// Raw bytes to standard output and standard error (descriptors 1 and 2), and from standard input
// (descriptor 0), whatever they are.
#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/system-posix.h"

namespace pf {

namespace {

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t put = write(fd, bytes.data(), bytes.size());
    if (put > 0) {
      bytes.remove_prefix(static_cast<size_t>(put));
    } else if (put < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      pollfd wait{fd, POLLOUT, 0};  // someone made the stream non-blocking
      poll(&wait, 1, -1);
    } else if (put < 0 && errno != EINTR) {
      return posix::FailWithErrno(errno);
    } else if (put == 0) {
      return posix::Fail(kErrorDiskFull);
    }
  }
  return true;
}

}  // namespace

bool WriteStandardOutput(std::string_view bytes) {
  return WriteAll(STDOUT_FILENO, bytes);
}
bool WriteStandardError(std::string_view bytes) {
  return WriteAll(STDERR_FILENO, bytes);
}

bool ReadStandardInput(std::string* bytes) {
  char block[65536];
  for (;;) {
    ssize_t got = read(STDIN_FILENO, block, sizeof block);
    if (got > 0) {
      bytes->append(block, static_cast<size_t>(got));
    } else if (got == 0) {
      return true;
    } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
      pollfd wait{STDIN_FILENO, POLLIN, 0};  // someone made the stream non-blocking
      poll(&wait, 1, -1);
    } else if (errno != EINTR) {
      return posix::FailWithErrno(errno);
    }
  }
}

}  // namespace pf
