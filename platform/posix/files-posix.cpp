// Files opened, read, written and deleted the Windows way on Linux. Sharing is emulated with flock
// (share 0: exclusive, any sharing: shared), taken before anything changes the file, and the
// read-only attribute with the write bits of the mode, since root ignores the mode itself.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "platform/posix/system-posix.h"

namespace pf {

namespace {

using posix::Fail;
using posix::FailWithErrno;

bool IsReadOnly(const struct stat& status) {
  return S_ISREG(status.st_mode) && (status.st_mode & 0222) == 0;
}

int OpenFlags(uint32_t access) {
  bool reads = (access & kGenericRead) != 0, writes = (access & kGenericWrite) != 0;
  int flags = reads && writes ? O_RDWR : writes ? O_WRONLY : O_RDONLY;
  return flags | O_CLOEXEC | O_NOCTTY;
}

// Opens path, creating it unless disposition says it must exist; *existed tells which happened.
int OpenOrCreate(const std::string& path, uint32_t access, uint32_t disposition,
                 uint32_t flagsAndAttributes, bool* existed) {
  int flags = OpenFlags(access);
  mode_t mode = (flagsAndAttributes & kFileAttributeReadonly) != 0 ? 0444 : 0666;
  for (int attempt = 0; attempt < 3; ++attempt) {
    int fd = open(path.c_str(), flags);
    if (fd >= 0 || errno != ENOENT || disposition == kOpenExisting) {
      *existed = fd >= 0;
      return fd;
    }
    fd = open(path.c_str(), flags | O_CREAT | O_EXCL, mode);
    if (fd >= 0 || errno != EEXIST) {
      *existed = false;
      return fd;
    }
    // Someone else created it in between: open what is there now.
  }
  errno = EEXIST;
  return -1;
}

posix::HandleObject* FindFile(Handle file) {
  return posix::FindHandle(file, posix::HandleKind::kFile);
}

}  // namespace

Handle CreateFileW(const std::u16string& name, uint32_t access, uint32_t share, bool inheritable,
                   uint32_t disposition, uint32_t flagsAndAttributes) {
  (void)inheritable;  // a child gets only the standard output it is given, never our files
  if (disposition != kCreateAlways && disposition != kOpenExisting && disposition != kOpenAlways) {
    Fail(kErrorInvalidParameter);
    return kInvalidHandle;
  }
  posix::ResolvedName target;
  bool mayCreate = disposition != kOpenExisting;
  if (!posix::ResolveName(posix::NativePath(name), &target, mayCreate)) return kInvalidHandle;
  struct stat status;
  if (target.exists && stat(target.path.c_str(), &status) == 0) {
    bool writes = (access & kGenericWrite) != 0 || disposition == kCreateAlways;
    if (S_ISDIR(status.st_mode) || (writes && IsReadOnly(status))) {
      Fail(kErrorAccessDenied);
      return kInvalidHandle;
    }
  }
  bool existed = false;
  int fd = OpenOrCreate(target.path, access, disposition, flagsAndAttributes, &existed);
  if (fd < 0) {
    FailWithErrno(errno);
    return kInvalidHandle;
  }
  // Devices are shared by everyone; only files take part in sharing.
  if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
    int lock = (share == 0 ? LOCK_EX : LOCK_SH) | LOCK_NB;
    int failure = flock(fd, lock) == 0 ? 0 : errno;
    if (failure == 0 && disposition == kCreateAlways && existed && ftruncate(fd, 0) != 0) {
      failure = errno;
    }
    if (failure != 0) {
      close(fd);
      FailWithErrno(failure);
      return kInvalidHandle;
    }
  }
  posix::HandleObject object;
  object.kind = posix::HandleKind::kFile;
  object.fd = posix::MoveAboveStandardStreams(fd);
  object.path = target.path;
  Handle handle = posix::AddHandle(std::move(object));
  if (existed && disposition != kOpenExisting) SetLastError(kErrorAlreadyExists);
  return handle;
}

uint32_t GetFileType(Handle file) {
  constexpr uint32_t kFileTypeUnknown = 0;
  posix::HandleObject* object = FindFile(file);
  if (object == nullptr) return kFileTypeUnknown;
  struct stat status;
  if (fstat(object->fd, &status) != 0) {
    FailWithErrno(errno);
    return kFileTypeUnknown;
  }
  if (S_ISCHR(status.st_mode)) return kFileTypeChar;
  if (S_ISFIFO(status.st_mode) || S_ISSOCK(status.st_mode)) return kFileTypePipe;
  return kFileTypeDisk;
}

uint32_t SetFilePointer(Handle file, int32_t distanceLow, int32_t* distanceHigh, uint32_t method) {
  posix::HandleObject* object = FindFile(file);
  if (object == nullptr) return kInvalidSetFilePointer;
  int whence = method == kFileBegin ? SEEK_SET
               : method == 1        ? SEEK_CUR
               : method == 2        ? SEEK_END
                                    : -1;
  if (whence < 0) {
    Fail(kErrorInvalidParameter);
    return kInvalidSetFilePointer;
  }
  // Without a high part the low part is a signed 32-bit distance.
  int64_t distance =
      distanceHigh == nullptr
          ? int64_t{distanceLow}
          : static_cast<int64_t>((uint64_t(uint32_t(*distanceHigh)) << 32) | uint32_t(distanceLow));
  off_t current = lseek(object->fd, 0, SEEK_CUR);
  off_t base = whence == SEEK_SET ? 0 : current;
  if (whence == SEEK_END) {
    struct stat status;
    base = fstat(object->fd, &status) == 0 ? status.st_size : 0;
  }
  if (current >= 0 && base + distance < 0) {
    Fail(kErrorNegativeSeek);
    return kInvalidSetFilePointer;
  }
  off_t position = lseek(object->fd, distance, whence);
  if (position < 0) {
    FailWithErrno(errno);
    return kInvalidSetFilePointer;
  }
  if (distanceHigh != nullptr) *distanceHigh = static_cast<int32_t>(uint64_t(position) >> 32);
  return static_cast<uint32_t>(position);
}

bool SetEndOfFile(Handle file) {
  posix::HandleObject* object = FindFile(file);
  if (object == nullptr) return false;
  off_t position = lseek(object->fd, 0, SEEK_CUR);
  if (position < 0 || ftruncate(object->fd, position) != 0) return FailWithErrno(errno);
  return true;
}

bool ReadFile(Handle file, void* buffer, uint32_t toRead, uint32_t* read) {
  if (read != nullptr) *read = 0;
  posix::HandleObject* object = FindFile(file);
  if (object == nullptr) return false;
  struct stat status;
  bool isFile = fstat(object->fd, &status) == 0 && S_ISREG(status.st_mode);
  uint32_t total = 0;
  // A file delivers all it has; a pipe or device what it has at the moment.
  while (total < toRead) {
    ssize_t got = ::read(object->fd, static_cast<char*>(buffer) + total, toRead - total);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      if (read != nullptr) *read = total;
      return errno == EBADF ? Fail(kErrorAccessDenied) : FailWithErrno(errno);
    }
    total += static_cast<uint32_t>(got);
    if (got == 0 || !isFile) break;
  }
  if (read != nullptr) *read = total;
  return true;
}

bool WriteFile(Handle file, const void* buffer, uint32_t toWrite, uint32_t* written) {
  if (written != nullptr) *written = 0;
  posix::HandleObject* object = FindFile(file);
  if (object == nullptr) return false;
  uint32_t total = 0;
  while (total < toWrite) {
    ssize_t put = ::write(object->fd, static_cast<const char*>(buffer) + total, toWrite - total);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      if (written != nullptr) *written = total;
      if (put == 0) return Fail(kErrorDiskFull);
      return errno == EBADF ? Fail(kErrorAccessDenied) : FailWithErrno(errno);
    }
    total += static_cast<uint32_t>(put);
  }
  if (written != nullptr) *written = total;
  return true;
}

bool DeleteFileW(const std::u16string& name) {
  posix::ResolvedName target;
  if (!posix::ResolveName(posix::NativePath(name), &target)) return false;
  struct stat status;
  if (!target.exists || lstat(target.path.c_str(), &status) != 0) return Fail(kErrorFileNotFound);
  if (S_ISDIR(status.st_mode) || IsReadOnly(status)) return Fail(kErrorAccessDenied);
  // A file someone holds open (any flock) cannot be deleted; the lock is kept until it is gone.
  int fd = -1;
  if (S_ISREG(status.st_mode)) {
    fd = open(target.path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) != 0) {
      int failure = errno;
      close(fd);
      return FailWithErrno(failure);
    }
  }
  int failure = unlink(target.path.c_str()) == 0 ? 0 : errno;
  if (fd >= 0) close(fd);
  return failure == 0 ? true : FailWithErrno(failure);
}

bool MoveFileExW(const std::u16string& existing, const std::u16string& renamed, uint32_t flags) {
  posix::ResolvedName from, to;
  if (!posix::ResolveName(posix::NativePath(existing), &from)) return false;
  if (!from.exists) return Fail(kErrorFileNotFound);
  if (!posix::ResolveName(posix::NativePath(renamed), &to)) return false;
  if (to.exists && (flags & kMovefileReplaceExisting) == 0) return Fail(kErrorAlreadyExists);
  struct stat status;
  if (to.exists && stat(to.path.c_str(), &status) == 0 && S_ISDIR(status.st_mode))
    return Fail(kErrorAccessDenied);
  if (rename(from.path.c_str(), to.path.c_str()) != 0) return FailWithErrno(errno);
  return true;
}

}  // namespace pf
