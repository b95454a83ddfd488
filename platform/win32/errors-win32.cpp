// The thread's last-error value and the process's error mode, straight from Windows.
#include "platform/win32/win32-api.h"

namespace pf {

uint32_t GetLastError() {
  return ::GetLastError();
}

void SetLastError(uint32_t code) {
  ::SetLastError(code);
}

uint32_t SetErrorMode(uint32_t mode) {
  return ::SetErrorMode(mode);
}

}  // namespace pf
