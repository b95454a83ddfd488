// Whole files on Windows: a file read to its end, and a file's content replaced at once through a
// temporary file beside it that is moved over it once complete.
#include "platform/win32/win32-api.h"

namespace pf {
namespace {

std::wstring WideName(const std::string& name) {
  std::u16string wide = MultiByteToWideChar(name);
  return std::wstring(wide.begin(), wide.end());
}

bool IsFolder(const std::wstring& name) {
  DWORD attributes = ::GetFileAttributesW(name.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

bool RemoveFileInHandler(const char* name) {
  return ::DeleteFileA(name) != 0;
}

bool ReadWholeFile(const std::string& name, std::string* bytes) {
  std::wstring wide = WideName(name);
  if (IsFolder(wide)) {
    ::SetLastError(kErrorDirectory);
    return false;
  }
  HANDLE file = ::CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  char block[65536];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file, block, sizeof block, &got, nullptr)) {
      DWORD error = ::GetLastError();
      ::CloseHandle(file);
      ::SetLastError(error);
      return false;
    }
    if (got == 0) break;
    bytes->append(block, got);
  }
  ::CloseHandle(file);
  return true;
}

bool WriteWholeFile(const std::string& name, std::string_view bytes) {
  std::wstring target = WideName(name);
  if (IsFolder(target)) {
    ::SetLastError(kErrorDirectory);
    return false;
  }
  std::wstring temporary = target + L".qvcode-new";
  HANDLE file = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  while (ok && !bytes.empty()) {
    DWORD written = 0;
    ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written != 0;
    bytes.remove_prefix(written);
  }
  DWORD error = ok ? 0 : ::GetLastError();
  if (!::CloseHandle(file) && ok) {
    ok = false;
    error = ::GetLastError();
  }
  if (ok && !::MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    ok = false;
    error = ::GetLastError();
  }
  if (!ok) {
    ::DeleteFileW(temporary.c_str());
    ::SetLastError(error);
  }
  return ok;
}

}  // namespace pf
