// The key filter, the wait for a character key and the line editor with its echo.
#include "runtime/line-input.h"

#include <new>

#include "platform/platform.h"
#include "platform/scan-codes.h"
#include "runtime/console-output.h"

namespace {

constexpr char16_t kBackspace = 8;
constexpr char16_t kEnter = 13;

bool IsModifierKey(uint16_t scanCode) {
  switch (scanCode) {
    case pf::kScanCtrl:
    case pf::kScanLeftShift:
    case pf::kScanRightShift:
    case pf::kScanAlt:
    case pf::kScanCapsLock:
    case pf::kScanNumLock:
    case pf::kScanScrollLock:
      return true;
    default:
      return false;
  }
}

void DropOldestRecord() {
  pf::InputRecord record;
  uint32_t read = 0;
  pf::ReadConsoleInputW(consoleState.consoleIn, &record, 1, &read);
}

// Moves the cursor one cell back, to the end of the row above at column 0.
void StepBack() {
  pf::ScreenBufferInfo info;
  if (!pf::GetConsoleScreenBufferInfo(consoleState.consoleOut, &info)) return;
  if (consoleState.scrollPending) {
    consoleState.scrollPending = false;
    ConsoleSetCursor(info.size.x, info.size.y);
  } else if (info.cursor.x == 0) {
    int rowAbove = info.cursor.y > 0 ? info.cursor.y : 1;  // 1-based row above, or the top row
    ConsoleSetCursor(info.size.x, rowAbove);
  } else {
    ConsoleSetCursor(info.cursor.x, info.cursor.y + 1);
  }
}

}  // namespace

KeyEvent PollKey() {
  for (;;) {
    pf::InputRecord record;
    uint32_t read = 0;
    if (!pf::PeekConsoleInputW(consoleState.consoleIn, &record, 1, &read) || read == 0) return {};
    if (record.eventType != pf::kKeyEvent) {
      DropOldestRecord();
      continue;
    }
    const pf::KeyEventRecord& key = record.key;
    if (!key.keyDown) {
      DropOldestRecord();
      continue;
    }
    KeyEvent event;
    event.scanCode = static_cast<uint8_t>(key.virtualScanCode);
    event.modifiers = static_cast<uint16_t>(key.controlKeyState);
    if (key.unicodeChar != 0) {
      bool altHeld = (key.controlKeyState & (pf::kRightAltPressed | pf::kLeftAltPressed)) != 0;
      if (altHeld && pf::IsLetterScanCode(event.scanCode)) {
        event.kind = KeyKind::kExtended;
      } else {
        event.kind = KeyKind::kCharacter;
        event.character = key.unicodeChar;
      }
      return event;
    }
    if (event.scanCode == pf::kScanEsc) {
      event.kind = KeyKind::kCharacter;
      return event;
    }
    if (IsModifierKey(event.scanCode)) {
      DropOldestRecord();
      continue;
    }
    event.kind = KeyKind::kExtended;
    return event;
  }
}

char16_t WaitCharacterKey() {
  for (;;) {
    pf::Sleep(1);
    KeyEvent event = PollKey();
    if (event.kind == KeyKind::kNone) continue;
    DropOldestRecord();
    if (event.kind == KeyKind::kExtended) continue;
    // Only the low byte is tested, so characters such as U+0100 are passed over like character 0.
    if ((event.character & 0xFF) == 0) continue;
    return event.character;
  }
}

Text ConsoleReadLine() {
  if (consoleState.consoleIn == pf::kInvalidHandle) return {};
  if (!consoleState.cursorVisible) {
    pf::SetConsoleCursorInfo(consoleState.consoleOut,
                             pf::CursorInfo{consoleState.cursorSize, true});
    consoleState.cursorForced = true;
  }
  char16_t* line = new (std::nothrow) char16_t[kLineCapacity];
  size_t count = 0;
  for (;;) {
    char16_t c = WaitCharacterKey();
    if (c == kBackspace) {
      if (count == 0) continue;
      StepBack();
      ConsoleWriteWide(u" ");
      StepBack();
      --count;
    } else if (c == kEnter) {
      ConsoleNewLine();
      break;
    } else if (c < 32 || count == kLineCapacity || line == nullptr) {
      continue;
    } else {
      line[count++] = c;
      ConsoleWriteWide(std::u16string_view(&c, 1));
    }
  }
  if (consoleState.cursorForced) {
    pf::SetConsoleCursorInfo(consoleState.consoleOut,
                             pf::CursorInfo{consoleState.cursorSize, consoleState.cursorVisible});
    consoleState.cursorForced = false;
  }
  Text result = line != nullptr ? ToNarrow(std::u16string_view(line, count)) : Text{};
  delete[] line;
  return result;
}
