// Line input from the console's own input buffer: keys are taken as raw key records, echoed and
// edited here, never through standard input.
#pragma once

#include <cstdint>

#include "runtime/text.h"

enum class KeyKind { kNone, kCharacter, kExtended };

struct KeyEvent {
  KeyKind kind = KeyKind::kNone;
  char16_t character = 0;
  uint8_t scanCode = 0;
  uint16_t modifiers = 0;  // the low 16 bits of the control-key state; no caller needs it yet
};

// The oldest input record that matters, without waiting and without removing it. Key releases,
// modifier keys and non-key events in front of it are removed on the way.
KeyEvent PollKey();

// Waits for the next character key and returns its character; removes every record it looks at.
char16_t WaitCharacterKey();

// One line typed at the console: echoed, Backspace takes back the last character, Enter ends it.
// Without any console input it returns empty text at once.
Text ConsoleReadLine();

inline constexpr size_t kLineCapacity = 10000;
