// The run-time error number that a failing service leaves for the routine that called it, and the
// platform call wrapper that turns Win32 error numbers into such numbers.
#pragma once

#include <cfenv>
#include <cstdint>
#include <type_traits>

// Run-time error numbers the services record.
inline constexpr int kErrBadCall = 5;
inline constexpr int kErrOutOfMemory = 7;
inline constexpr int kErrBadFileNumber = 52;
inline constexpr int kErrFileNotFound = 53;
inline constexpr int kErrBadFileMode = 54;
inline constexpr int kErrFileAlreadyOpen = 55;
inline constexpr int kErrDeviceIo = 57;
inline constexpr int kErrDiskFull = 61;
inline constexpr int kErrInputPastEnd = 62;
inline constexpr int kErrBadFileName = 64;
inline constexpr int kErrPermissionDenied = 70;
inline constexpr int kErrPathNotFound = 76;
inline constexpr int kErrInternal = 51;
inline constexpr int kErrTooManyFiles = 67;
inline constexpr int kErrDeviceUnavailable = 68;
inline constexpr int kErrDiskNotReady = 71;
inline constexpr int kErrDiskMedia = 72;
inline constexpr int kErrRenameAcrossDisks = 74;
inline constexpr int kErrPathFileAccess = 75;
inline constexpr int kErrFirstFatal = 241;

// Records n for the caller. A number of 241 or more ends the process at once with exit code 255.
void RecordRuntimeError(int n);
int LastRuntimeError();  // 0 when nothing was recorded since the last clear
void ClearRuntimeError();

// The run-time error number for a Win32 error number (0 for 0).
int MapPlatformError(uint32_t platformError);

// Calls a platform primitive with critical-error boxes off, the last error cleared before it and
// read after it, under the platform-call lock, and with the floating-point state kept. Returns the
// primitive's own result; *failure receives the mapped run-time error number, 0 on success.
template <typename Call>
auto PlatformCall(int* failure, Call call) -> decltype(call());

// ---- implementation of the template ----
struct PlatformCallFrame {
  uint32_t savedErrorMode;
  std::fenv_t savedFloatState;
};
void EnterPlatformCall(PlatformCallFrame* frame);
int LeavePlatformCall(PlatformCallFrame* frame);

template <typename Call>
auto PlatformCall(int* failure, Call call) -> decltype(call()) {
  PlatformCallFrame frame;
  EnterPlatformCall(&frame);
  if constexpr (std::is_void_v<decltype(call())>) {
    call();
    *failure = LeavePlatformCall(&frame);
  } else {
    auto result = call();
    *failure = LeavePlatformCall(&frame);
    return result;
  }
}
