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
  switch (platformError) {
    case 0:
      return 0;
    case 2:
    case 18:
      return 53;
    case 3:
      return 76;
    case 4:
      return 67;
    case 5:
    case 19:
    case 32:
    case 33:
    case 36:
      return 70;
    case 6:
    case 11:
    case 12:
    case 13:
    case 22:
    case 24:
      return 51;
    case 7:
    case 9:
    case 10:
      return 241;
    case 8:
    case 14:
      return 7;
    case 15:
    case 20:
      return 68;
    case 17:
      return 74;
    case 21:
      return 71;
    case 23:
    case 25:
    case 26:
    case 27:
    case 28:
    case 29:
    case 30:
    case 31:
    case 34:
    case 35:
      return 72;
    case 38:
      return 62;
    case 39:
    case 112:
      return 61;
    case 87:
      return 5;
    default:
      return 75;
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
