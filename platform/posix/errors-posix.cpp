// The last-error slot of each thread, the error mode, and how Linux errno values read as Win32
// error numbers.
#include <cerrno>

#include "platform/posix/system-posix.h"

namespace pf {

namespace {
thread_local uint32_t lastError = 0;
uint32_t errorMode = 0;  // nothing on Linux shows a critical-error box; kept for the round trip
}  // namespace

uint32_t GetLastError() {
  return lastError;
}
void SetLastError(uint32_t code) {
  lastError = code;
}

uint32_t SetErrorMode(uint32_t mode) {
  uint32_t previous = errorMode;
  errorMode = mode;
  return previous;
}

namespace posix {

uint32_t Win32ErrorFromErrno(int error) {
  switch (error) {
    case ENOENT:
      return kErrorFileNotFound;
    case ENOTDIR:
      return kErrorPathNotFound;
    case EMFILE:
    case ENFILE:
      return kErrorTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
      return kErrorAccessDenied;
    case EBADF:
      return kErrorInvalidHandle;
    case ENOMEM:
      return kErrorNotEnoughMemory;
    case EBUSY:
    case EWOULDBLOCK:
    case ETXTBSY:
      return kErrorSharingViolation;
    case ENOSPC:
    case EDQUOT:
      return kErrorDiskFull;
    case EINVAL:
    case E2BIG:
      return kErrorInvalidParameter;
    case EEXIST:
      return kErrorFileExists;
    case EXDEV:
      return 17;  // ERROR_NOT_SAME_DEVICE
    case ENXIO:
    case ENODEV:
      return kErrorNotReady;
    case EIO:
      return kErrorGenFailure;
    case EPIPE:
      return kErrorBrokenPipe;
    case ENOTEMPTY:
      return kErrorDirNotEmpty;
    case ENOEXEC:
      return kErrorBadExeFormat;
    case ENAMETOOLONG:
      return kErrorFilenameTooLong;
    case EFBIG:
      return kErrorFileTooLarge;
    case ELOOP:
      return kErrorCantResolveFilename;
    default:
      return kErrorInvalidFunction;
  }
}

bool FailWithErrno(int error) {
  return Fail(Win32ErrorFromErrno(error));
}

bool Fail(uint32_t win32Error) {
  SetLastError(win32Error);
  return false;
}

}  // namespace posix
}  // namespace pf
