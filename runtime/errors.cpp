// The record of the last run-time error, the fatal end at 241 and above, and the platform call
// wrapper with its table of Win32 error numbers.
#include "runtime/errors.h"

#include <atomic>

#include "platform/platform.h"
#include "runtime/spin-lock.h"

namespace {

int lastRuntimeError = 0;
std::atomic<int> platformCallLock{0};

}  // namespace

void RecordRuntimeError(int n) {
  lastRuntimeError = n;
  if (n >= kErrFirstFatal) pf::ExitProcess(255);
}

int LastRuntimeError() {
  return lastRuntimeError;
}
void ClearRuntimeError() {
  lastRuntimeError = 0;
}

int MapPlatformError(uint32_t platformError) {
  // Win32 numbers without a name in platform.h: 7, 9 and 10 a damaged memory block, environment
  // or format; 11-13 and 22-24 bad formats, data and commands; 14 out of memory; 15 and 20 no such
  // drive or device; 17 not the same drive; 19 write-protected; 21 not ready; 25-31 and 34-35
  // seek, sector, paper and drive faults; 33 and 36 lock and sharing-buffer faults; 39 disk full.
  switch (platformError) {
    case 0:
      return 0;
    case pf::kErrorFileNotFound:
    case pf::kErrorNoMoreFiles:
      return kErrFileNotFound;
    case pf::kErrorPathNotFound:
      return kErrPathNotFound;
    case pf::kErrorTooManyOpenFiles:
      return kErrTooManyFiles;
    case pf::kErrorAccessDenied:
    case 19:
    case pf::kErrorSharingViolation:
    case 33:
    case 36:
      return kErrPermissionDenied;
    case pf::kErrorInvalidHandle:
    case 11:
    case 12:
    case 13:
    case 22:
    case 24:
      return kErrInternal;
    case 7:
    case 9:
    case 10:
      return kErrFirstFatal;
    case pf::kErrorNotEnoughMemory:
    case 14:
      return kErrOutOfMemory;
    case 15:
    case 20:
      return kErrDeviceUnavailable;
    case 17:
      return kErrRenameAcrossDisks;
    case pf::kErrorNotReady:
      return kErrDiskNotReady;
    case 23:
    case 25:
    case 26:
    case 27:
    case 28:
    case 29:
    case 30:
    case pf::kErrorGenFailure:
    case 34:
    case 35:
      return kErrDiskMedia;
    case pf::kErrorHandleEof:
      return kErrInputPastEnd;
    case 39:
    case pf::kErrorDiskFull:
      return kErrDiskFull;
    case pf::kErrorInvalidParameter:
      return kErrBadCall;
    default:
      return kErrPathFileAccess;
  }
}

void EnterPlatformCall(PlatformCallFrame* frame) {
  TakeLock(platformCallLock);
  // Saved and restored around every call, as on Windows, where a platform call could change the
  // floating-point settings; on Linux none does.
  std::fegetenv(&frame->savedFloatState);
  frame->savedErrorMode = pf::SetErrorMode(pf::kSemFailCriticalErrors | pf::kSemNoOpenFileErrorBox);
  pf::SetLastError(0);
}

int LeavePlatformCall(PlatformCallFrame* frame) {
  std::fesetenv(&frame->savedFloatState);
  uint32_t lastError = pf::GetLastError();
  pf::SetErrorMode(frame->savedErrorMode);
  GiveLock(platformCallLock);
  return MapPlatformError(lastError);
}
