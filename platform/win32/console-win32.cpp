// The console's handles, modes, control handler, cursor and screen buffer, passed straight to
// Windows.
#include <atomic>
#include <vector>

#include "platform/win32/win32-api.h"

namespace pf {
namespace {

// Windows calls a control handler as BOOL WINAPI (DWORD) on a thread of its own; a pf handler has
// another signature, so each one installed sits in a slot whose fixed trampoline Windows calls.
// Four slots are more than the process ever installs at once.
constexpr int kHandlerSlots = 4;
std::atomic<ControlHandler> handlerSlots[kHandlerSlots];

template <int slot>
BOOL WINAPI HandlerTrampoline(DWORD eventType) {
  ControlHandler handler = handlerSlots[slot].load();
  return handler != nullptr && handler(eventType) ? TRUE : FALSE;
}

constexpr PHANDLER_ROUTINE kTrampolines[kHandlerSlots] = {
    HandlerTrampoline<0>, HandlerTrampoline<1>, HandlerTrampoline<2>, HandlerTrampoline<3>};

int FindSlot(ControlHandler handler) {
  for (int slot = 0; slot < kHandlerSlots; ++slot) {
    if (handlerSlots[slot].load() == handler) return slot;
  }
  return -1;
}

}  // namespace

Handle GetStdHandle(uint32_t which) {
  return win32::FromWin(::GetStdHandle(which));
}

Handle OpenConsoleInput() {
  return win32::FromWin(
      ::CreateFileA("CONIN$", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
}

bool CloseConsoleHandle(Handle console) {
  return ::CloseHandle(win32::ToWin(console)) != FALSE;
}

bool GetConsoleMode(Handle console, uint32_t* mode) {
  DWORD found = 0;
  const BOOL ok = ::GetConsoleMode(win32::ToWin(console), &found);
  if (mode != nullptr) *mode = found;
  return ok != FALSE;
}

bool SetConsoleMode(Handle console, uint32_t mode) {
  return ::SetConsoleMode(win32::ToWin(console), mode) != FALSE;
}

bool SetConsoleCtrlHandler(ControlHandler handler, bool add) {
  if (handler == nullptr) return ::SetConsoleCtrlHandler(nullptr, add ? TRUE : FALSE) != FALSE;
  if (!add) {
    const int slot = FindSlot(handler);
    if (slot < 0) {
      ::SetLastError(ERROR_INVALID_PARAMETER);
      return false;
    }
    const BOOL ok = ::SetConsoleCtrlHandler(kTrampolines[slot], FALSE);
    if (ok) handlerSlots[slot].store(nullptr);
    return ok != FALSE;
  }
  const int slot = FindSlot(nullptr);
  if (slot < 0) {
    ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return false;
  }
  handlerSlots[slot].store(handler);
  const BOOL ok = ::SetConsoleCtrlHandler(kTrampolines[slot], TRUE);
  if (!ok) handlerSlots[slot].store(nullptr);
  return ok != FALSE;
}

bool GetConsoleCursorInfo(Handle console, CursorInfo* info) {
  CONSOLE_CURSOR_INFO found{};
  if (!::GetConsoleCursorInfo(win32::ToWin(console), &found)) return false;
  if (info != nullptr) {
    info->size = found.dwSize;
    info->visible = found.bVisible != FALSE;
  }
  return true;
}

bool SetConsoleCursorInfo(Handle console, const CursorInfo& info) {
  CONSOLE_CURSOR_INFO shape{};
  shape.dwSize = info.size;
  shape.bVisible = info.visible ? TRUE : FALSE;
  return ::SetConsoleCursorInfo(win32::ToWin(console), &shape) != FALSE;
}

bool GetConsoleScreenBufferInfo(Handle console, ScreenBufferInfo* info) {
  CONSOLE_SCREEN_BUFFER_INFO found{};
  if (!::GetConsoleScreenBufferInfo(win32::ToWin(console), &found)) return false;
  if (info != nullptr) {
    info->size = win32::FromWin(found.dwSize);
    info->cursor = win32::FromWin(found.dwCursorPosition);
    info->attributes = found.wAttributes;
    info->window = win32::FromWin(found.srWindow);
  }
  return true;
}

bool WriteConsoleOutputW(Handle console, const CharInfo* cells, Coord bufferSize,
                         Coord bufferOrigin, SmallRect* region) {
  const size_t count = bufferSize.x > 0 && bufferSize.y > 0
                           ? static_cast<size_t>(bufferSize.x) * static_cast<size_t>(bufferSize.y)
                           : 0;
  std::vector<CHAR_INFO> winCells(count);
  for (size_t i = 0; i < count && cells != nullptr; ++i) winCells[i] = win32::ToWin(cells[i]);
  SMALL_RECT target = region != nullptr ? win32::ToWin(*region) : SMALL_RECT{};
  const BOOL ok =
      ::WriteConsoleOutputW(win32::ToWin(console), winCells.data(), win32::ToWin(bufferSize),
                            win32::ToWin(bufferOrigin), &target);
  if (region != nullptr) *region = win32::FromWin(target);
  return ok != FALSE;
}

bool ScrollConsoleScreenBufferW(Handle console, const SmallRect& source, const SmallRect* clip,
                                Coord destination, const CharInfo& fill) {
  const SMALL_RECT winSource = win32::ToWin(source);
  SMALL_RECT winClip{};
  if (clip != nullptr) winClip = win32::ToWin(*clip);
  const CHAR_INFO winFill = win32::ToWin(fill);
  return ::ScrollConsoleScreenBufferW(win32::ToWin(console), &winSource,
                                      clip != nullptr ? &winClip : nullptr,
                                      win32::ToWin(destination), &winFill) != FALSE;
}

bool SetConsoleCursorPosition(Handle console, Coord position) {
  return ::SetConsoleCursorPosition(win32::ToWin(console), win32::ToWin(position)) != FALSE;
}

bool SetConsoleTextAttribute(Handle console, uint16_t attributes) {
  return ::SetConsoleTextAttribute(win32::ToWin(console), attributes) != FALSE;
}

bool FillConsoleOutputAttribute(Handle console, uint16_t attributes, uint32_t length, Coord start,
                                uint32_t* written) {
  DWORD done = 0;
  const BOOL ok = ::FillConsoleOutputAttribute(win32::ToWin(console), attributes, length,
                                               win32::ToWin(start), &done);
  if (written != nullptr) *written = done;
  return ok != FALSE;
}

}  // namespace pf
