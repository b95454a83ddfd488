// The life of the process around the generator, and console output: text placed cell by cell into
// the console screen buffer, with the program's own cursor keeping and scrolling.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/platform.h"

struct ConsoleState {
  // Standard output when it is a console, else standard error.
  pf::Handle consoleOut = pf::kInvalidHandle;
  pf::Handle consoleIn = pf::kInvalidHandle;  // the console's own input buffer
  int foreground = 7;
  int background = 0;
  bool scrollPending = false;  // the last row is full and owes a scroll to the next output
  uint32_t cursorSize = 25;
  bool cursorVisible = true;
  bool cursorForced = false;  // the line input showed a hidden cursor and must hide it again
};
extern ConsoleState consoleState;

using ProgramEntry = int (*)();

// The process entry: prepares the console, calls entry once and ends the process with its result.
[[noreturn]] void RunProcess(int argc, char** argv, ProgramEntry entry);

// Console set-up alone (handles, modes, control handler, cursor shape) and the reset of the
// colours.
void SetUpConsole();

// Releases what the run holds and ends the process with exitCode.
[[noreturn]] void EndProgram(uint32_t exitCode);

bool ConsoleControlHandler(uint32_t eventType);

void ConsoleWrite(std::string_view text);
// The same for text already in console characters (the line input echoes what was typed).
void ConsoleWriteWide(std::u16string_view text);
void ConsoleNewLine();
// Colours outside 0..15 keep the current one; recolourCount cells from the cursor are recoloured.
void ConsoleSetColour(int foreground, int background, int recolourCount);
void ConsoleSetCursor(int column, int row);  // 1-based; outside the buffer keeps the current one
void ConsoleScrollUp();

// The colour numbers the generator uses.
inline constexpr int kLightRed = 12;
inline constexpr int kLightGrey = 7;
inline constexpr int kKeepColour = -1;
