// The start and end of the process: the platform check, the refusal box, the thread-local slot,
// the COM library and the exit.
#include "platform/win32/win32-api.h"
// objbase.h after windows.h, so it finds the NOMINMAX and WIN32_LEAN_AND_MEAN settled there.
#include <objbase.h>

namespace pf {

void ProcessAttach(int, char**, ArgumentJoin) {
  // Windows itself provides the command line and the ComSpec variable.
}

bool IsWindowsNtFamily() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof(version);
  // GetVersionExA is deprecated, but the platform id is exactly what it is asked for here. A failed
  // call leaves the id 0, which refuses the platform, as an unknown one should be.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#elif defined(_MSC_VER)
#pragma warning(push)
#pragma warning(disable : 4996)
#endif
  ::GetVersionExA(&version);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#elif defined(_MSC_VER)
#pragma warning(pop)
#endif
  return version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

void MessageBoxA(const char* text, uint32_t style) {
  ::MessageBoxA(nullptr, text, nullptr, style);
}

uint32_t TlsAlloc() {
  return ::TlsAlloc();
}

bool TlsFree(uint32_t index) {
  return ::TlsFree(index) != FALSE;
}

// S_FALSE (already initialised on this thread) counts as success, as it must be balanced by
// CoUninitialize all the same.
bool CoInitialize() {
  return SUCCEEDED(::CoInitialize(nullptr));
}

void CoUninitialize() {
  ::CoUninitialize();
}

void ExitProcess(uint32_t exitCode) {
  ::ExitProcess(exitCode);
}

}  // namespace pf
