// Whole files on Linux: a file read to its end, and a file's content replaced at once. A regular
// file is written beside itself under a temporary name and renamed over; links are followed so the
// file they name is the one replaced; FIFOs, devices and sockets are written as they are, since a
// rename would put a plain file in their place.
#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

#include "platform/posix/system-posix.h"

namespace pf {
namespace {

// The temporary file being written, for the signal handler to remove; empty when none is.
char pendingTemporary[PATH_MAX + 32];

constexpr int kCleanupSignals[] = {SIGHUP,  SIGINT,  SIGQUIT, SIGTERM,
                                   SIGPIPE, SIGALRM, SIGUSR1, SIGUSR2};

void RemovePendingAndReraise(int signal) {
  if (pendingTemporary[0] != 0) unlink(pendingTemporary);
  struct sigaction plain {};
  plain.sa_handler = SIG_DFL;
  sigaction(signal, &plain, nullptr);
  raise(signal);
}

// While a temporary file exists, a caught signal removes it first; a write past the file size
// limit fails with EFBIG instead of ending the process.
struct SignalGuard {
  struct sigaction saved[std::size(kCleanupSignals)];
  struct sigaction savedFileSize;

  explicit SignalGuard(const std::string& temporary) {
    std::memcpy(pendingTemporary, temporary.c_str(), temporary.size() + 1);
    struct sigaction cleanup {};
    cleanup.sa_handler = RemovePendingAndReraise;
    sigfillset(&cleanup.sa_mask);
    for (std::size_t i = 0; i < std::size(kCleanupSignals); ++i) {
      sigaction(kCleanupSignals[i], nullptr, &saved[i]);
      if (saved[i].sa_handler != SIG_IGN) sigaction(kCleanupSignals[i], &cleanup, nullptr);
    }
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &savedFileSize);
  }
  ~SignalGuard() {
    for (std::size_t i = 0; i < std::size(kCleanupSignals); ++i)
      sigaction(kCleanupSignals[i], &saved[i], nullptr);
    sigaction(SIGXFSZ, &savedFileSize, nullptr);
    pendingTemporary[0] = 0;
  }
};

bool WriteAllTo(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t put = write(fd, bytes.data(), bytes.size());
    if (put > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(put));
    } else if (put == 0) {
      return posix::Fail(kErrorDiskFull);
    } else if (errno != EINTR) {
      return posix::FailWithErrno(errno);
    }
  }
  return true;
}

// The path a chain of links ends at (the name itself when it is no link); false on a loop.
bool FollowLinks(std::string& path) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat status;
    if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return true;
    char target[PATH_MAX];
    ssize_t length = readlink(path.c_str(), target, sizeof target - 1);
    if (length < 0) return posix::FailWithErrno(errno);
    std::string next(target, static_cast<std::size_t>(length));
    std::size_t slash = path.rfind('/');
    if (next.front() != '/' && slash != std::string::npos) next = path.substr(0, slash + 1) + next;
    path = next;
  }
  return posix::Fail(kErrorCantResolveFilename);
}

bool WriteSocket(const std::string& path, std::string_view bytes) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return posix::Fail(kErrorFilenameTooLong);
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return posix::FailWithErrno(errno);
  bool ok = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0
                ? WriteAllTo(fd, bytes)
                : posix::FailWithErrno(errno);
  close(fd);
  return ok;
}

bool WriteDirectly(const std::string& path, std::string_view bytes) {
  int fd = open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return posix::FailWithErrno(errno);
  SignalGuard guard("");
  bool ok = WriteAllTo(fd, bytes);
  if (close(fd) != 0 && ok) ok = posix::FailWithErrno(errno);
  return ok;
}

bool ReplaceRegular(const std::string& path, const struct stat* existing, std::string_view bytes) {
  std::string temporary = path + ".qvcode-XXXXXX";
  if (temporary.size() > PATH_MAX) return posix::Fail(kErrorFilenameTooLong);
  SignalGuard guard(temporary);
  int fd = mkostemp(pendingTemporary, O_CLOEXEC);
  if (fd < 0) {
    pendingTemporary[0] = 0;
    // The file itself need not exist; what is missing then is its folder.
    return errno == ENOENT ? posix::Fail(kErrorPathNotFound) : posix::FailWithErrno(errno);
  }
  temporary = pendingTemporary;
  // A new file gets the permissions any new file gets here; a replaced one keeps its own.
  mode_t mask = umask(0);
  umask(mask);
  mode_t mode = existing != nullptr ? existing->st_mode & 07777 : 0666 & ~mask;
  bool ok = fchmod(fd, mode) == 0 || posix::FailWithErrno(errno);
  ok = ok && WriteAllTo(fd, bytes);
  if (close(fd) != 0 && ok) ok = posix::FailWithErrno(errno);
  if (ok && rename(temporary.c_str(), path.c_str()) != 0) ok = posix::FailWithErrno(errno);
  if (!ok) {
    uint32_t error = GetLastError();
    unlink(temporary.c_str());
    SetLastError(error);
  }
  return ok;
}

}  // namespace

bool RemoveFileInHandler(const char* name) {
  return unlink(name) == 0;
}

bool ReadWholeFile(const std::string& name, std::string* bytes) {
  int fd = open(name.c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return posix::FailWithErrno(errno);
  struct stat status;
  if (fstat(fd, &status) == 0 && S_ISDIR(status.st_mode)) {
    close(fd);
    return posix::Fail(kErrorDirectory);
  }
  char block[65536];
  for (;;) {
    ssize_t got = read(fd, block, sizeof block);
    if (got > 0) {
      bytes->append(block, static_cast<std::size_t>(got));
    } else if (got == 0) {
      break;
    } else if (errno != EINTR) {
      int error = errno;
      close(fd);
      return posix::FailWithErrno(error);
    }
  }
  close(fd);
  return true;
}

bool WriteWholeFile(const std::string& name, std::string_view bytes) {
  std::string path = name;
  if (path.empty()) return posix::Fail(kErrorFileNotFound);
  if (!FollowLinks(path)) return false;
  struct stat status;
  if (stat(path.c_str(), &status) != 0) {
    if (errno != ENOENT) return posix::FailWithErrno(errno);
    return ReplaceRegular(path, nullptr, bytes);
  }
  if (S_ISDIR(status.st_mode)) return posix::Fail(kErrorDirectory);
  if (S_ISSOCK(status.st_mode)) return WriteSocket(path, bytes);
  if (!S_ISREG(status.st_mode)) return WriteDirectly(path, bytes);
  return ReplaceRegular(path, &status, bytes);
}

}  // namespace pf
