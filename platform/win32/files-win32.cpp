// Files, directory search and the standard streams, passed straight to Windows.
#include "platform/win32/win32-api.h"

namespace pf {
namespace {

void TakeFindData(const WIN32_FIND_DATAW& data, FindData* found) {
  if (found == nullptr) return;
  found->attributes = data.dwFileAttributes;
  found->name.assign(reinterpret_cast<const char16_t*>(data.cFileName));
}

// WriteFile may take fewer bytes than offered (a pipe, say); what was offered is written whole.
bool WriteAll(DWORD whichStd, std::string_view bytes) {
  HANDLE out = ::GetStdHandle(whichStd);
  if (out == nullptr || out == INVALID_HANDLE_VALUE) return false;
  while (!bytes.empty()) {
    DWORD written = 0;
    if (!::WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written == 0) {
      return false;
    }
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

Handle FindFirstFileW(const std::u16string& pattern, FindData* found) {
  WIN32_FIND_DATAW data{};
  HANDLE search = ::FindFirstFileW(win32::Wide(pattern), &data);
  if (search != INVALID_HANDLE_VALUE) TakeFindData(data, found);
  return win32::FromWin(search);
}

bool FindNextFileW(Handle search, FindData* found) {
  WIN32_FIND_DATAW data{};
  if (!::FindNextFileW(win32::ToWin(search), &data)) return false;
  TakeFindData(data, found);
  return true;
}

bool FindClose(Handle search) {
  return ::FindClose(win32::ToWin(search)) != FALSE;
}

bool DeleteFileW(const std::u16string& name) {
  return ::DeleteFileW(win32::Wide(name)) != FALSE;
}

bool MoveFileExW(const std::u16string& existing, const std::u16string& renamed, uint32_t flags) {
  return ::MoveFileExW(win32::Wide(existing), win32::Wide(renamed), flags) != FALSE;
}

Handle CreateFileW(const std::u16string& name, uint32_t access, uint32_t share, bool inheritable,
                   uint32_t disposition, uint32_t flagsAndAttributes) {
  SECURITY_ATTRIBUTES security{};
  security.nLength = sizeof(security);
  security.lpSecurityDescriptor = nullptr;
  security.bInheritHandle = inheritable ? TRUE : FALSE;
  return win32::FromWin(::CreateFileW(win32::Wide(name), access, share, &security, disposition,
                                      flagsAndAttributes, nullptr));
}

uint32_t GetFileType(Handle file) {
  return ::GetFileType(win32::ToWin(file));
}

uint32_t SetFilePointer(Handle file, int32_t distanceLow, int32_t* distanceHigh, uint32_t method) {
  LONG high = distanceHigh != nullptr ? *distanceHigh : 0;
  const DWORD low = ::SetFilePointer(win32::ToWin(file), distanceLow,
                                     distanceHigh != nullptr ? &high : nullptr, method);
  if (distanceHigh != nullptr) *distanceHigh = high;
  return low;
}

bool SetEndOfFile(Handle file) {
  return ::SetEndOfFile(win32::ToWin(file)) != FALSE;
}

bool ReadFile(Handle file, void* buffer, uint32_t toRead, uint32_t* read) {
  DWORD done = 0;
  const BOOL ok = ::ReadFile(win32::ToWin(file), buffer, toRead, &done, nullptr);
  if (read != nullptr) *read = done;
  return ok != FALSE;
}

bool WriteFile(Handle file, const void* buffer, uint32_t toWrite, uint32_t* written) {
  DWORD done = 0;
  const BOOL ok = ::WriteFile(win32::ToWin(file), buffer, toWrite, &done, nullptr);
  if (written != nullptr) *written = done;
  return ok != FALSE;
}

bool CloseHandle(Handle object) {
  return ::CloseHandle(win32::ToWin(object)) != FALSE;
}

bool WriteStandardOutput(std::string_view bytes) {
  return WriteAll(STD_OUTPUT_HANDLE, bytes);
}

bool WriteStandardError(std::string_view bytes) {
  return WriteAll(STD_ERROR_HANDLE, bytes);
}

bool ReadStandardInput(std::string* bytes) {
  HANDLE in = ::GetStdHandle(STD_INPUT_HANDLE);
  if (in == nullptr || in == INVALID_HANDLE_VALUE) return false;
  char block[65536];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(in, block, sizeof block, &got, nullptr)) {
      // A pipe whose writer has gone is the end of the input.
      return ::GetLastError() == ERROR_BROKEN_PIPE;
    }
    if (got == 0) return true;
    bytes->append(block, got);
  }
}

}  // namespace pf
