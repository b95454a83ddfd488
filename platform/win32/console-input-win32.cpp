// Key records from the console input buffer, passed straight to Windows.
#include <vector>

#include "platform/win32/win32-api.h"

namespace pf {
namespace {

InputRecord FromWin(const INPUT_RECORD& record) {
  InputRecord out;
  out.eventType = record.EventType;
  if (record.EventType == KEY_EVENT) {
    const KEY_EVENT_RECORD& key = record.Event.KeyEvent;
    out.key.keyDown = key.bKeyDown != FALSE;
    out.key.repeatCount = key.wRepeatCount;
    out.key.virtualKeyCode = key.wVirtualKeyCode;
    out.key.virtualScanCode = key.wVirtualScanCode;
    out.key.unicodeChar = static_cast<char16_t>(key.uChar.UnicodeChar);
    out.key.controlKeyState = key.dwControlKeyState;
  }
  return out;
}

using ConsoleInputCall = BOOL(WINAPI*)(HANDLE, PINPUT_RECORD, DWORD, LPDWORD);

bool TakeRecords(ConsoleInputCall call, Handle console, InputRecord* records, uint32_t length,
                 uint32_t* read) {
  std::vector<INPUT_RECORD> found(length);
  DWORD count = 0;
  const BOOL ok = call(win32::ToWin(console), found.data(), length, &count);
  if (!ok) count = 0;
  for (DWORD i = 0; i < count && records != nullptr; ++i) records[i] = FromWin(found[i]);
  if (read != nullptr) *read = count;
  return ok != FALSE;
}

}  // namespace

bool PeekConsoleInputW(Handle console, InputRecord* records, uint32_t length, uint32_t* read) {
  return TakeRecords(::PeekConsoleInputW, console, records, length, read);
}

bool ReadConsoleInputW(Handle console, InputRecord* records, uint32_t length, uint32_t* read) {
  return TakeRecords(::ReadConsoleInputW, console, records, length, read);
}

void Sleep(uint32_t milliseconds) {
  ::Sleep(milliseconds);
}

}  // namespace pf
