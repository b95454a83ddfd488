// The one way into <windows.h> for the Win32 backend, and the few conversions between the pf
// records and their Win32 counterparts that every file of the backend needs.
//
// windows.h is included only after platform.h has been read in full, with the macros that would
// rename pf primitives checked below: a primitive such as pf::DeleteFileW must reach the linker
// under its own name, so a build that meets such a macro stops here rather than link the wrong
// symbol.
#pragma once

#include "platform/platform.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>

// Names of pf primitives that windows.h must not have turned into macros.
#if defined(GetLastError) || defined(SetLastError) || defined(SetErrorMode) ||                     \
    defined(MultiByteToWideChar) || defined(WideCharToMultiByte) || defined(MessageBoxA) ||        \
    defined(TlsAlloc) || defined(TlsFree) || defined(CoInitialize) || defined(CoUninitialize) ||   \
    defined(ExitProcess) || defined(FindFirstFileW) || defined(FindNextFileW) ||                   \
    defined(FindClose) || defined(DeleteFileW) || defined(MoveFileExW) || defined(CreateFileW) ||  \
    defined(GetFileType) || defined(SetFilePointer) || defined(SetEndOfFile) ||                    \
    defined(ReadFile) || defined(WriteFile) || defined(CloseHandle) || defined(GetCommandLineW) || \
    defined(GetEnvironmentVariableW) || defined(CreateProcessW) || defined(WaitForSingleObject) || \
    defined(GetExitCodeProcess) || defined(GetStdHandle) || defined(GetConsoleMode) ||             \
    defined(SetConsoleMode) || defined(SetConsoleCtrlHandler) || defined(GetConsoleCursorInfo) ||  \
    defined(SetConsoleCursorInfo) || defined(GetConsoleScreenBufferInfo) ||                        \
    defined(WriteConsoleOutputW) || defined(ScrollConsoleScreenBufferW) ||                         \
    defined(SetConsoleCursorPosition) || defined(SetConsoleTextAttribute) ||                       \
    defined(FillConsoleOutputAttribute) || defined(PeekConsoleInputW) ||                           \
    defined(ReadConsoleInputW) || defined(Sleep)
#error "windows.h renames a pf primitive; #undef it here"
#endif

namespace pf::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide characters are UTF-16 units");
static_assert(sizeof(Handle) == sizeof(HANDLE));

inline HANDLE ToWin(Handle handle) {
  return reinterpret_cast<HANDLE>(handle);
}
inline Handle FromWin(HANDLE handle) {
  return reinterpret_cast<Handle>(handle);
}

inline const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

inline COORD ToWin(Coord c) {
  return COORD{c.x, c.y};
}
inline Coord FromWin(COORD c) {
  return Coord{c.X, c.Y};
}
inline SMALL_RECT ToWin(const SmallRect& r) {
  return SMALL_RECT{r.left, r.top, r.right, r.bottom};
}
inline SmallRect FromWin(const SMALL_RECT& r) {
  return SmallRect{r.Left, r.Top, r.Right, r.Bottom};
}

inline CHAR_INFO ToWin(const CharInfo& cell) {
  CHAR_INFO out{};
  out.Char.UnicodeChar = static_cast<WCHAR>(cell.ch);
  out.Attributes = cell.attributes;
  return out;
}

}  // namespace pf::win32
