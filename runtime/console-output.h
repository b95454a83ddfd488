// Console output: text placed cell by cell into the console screen buffer, with the program's own
// cursor keeping and scrolling, and the console state that output and line input share.
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
// Set up at start-up (SetUpConsole, in runtime/process.h).
extern ConsoleState consoleState;

void ConsoleWrite(std::string_view text);
// The same for text already in console characters (the line input echoes what was typed).
void ConsoleWriteWide(std::u16string_view text);
void ConsoleNewLine();
// Colours outside 0..15 keep the current one; recolourCount cells from the cursor are recoloured.
void ConsoleSetColour(int foreground, int background, int recolourCount);
void ConsoleSetCursor(int column, int row);  // 1-based; outside the buffer keeps the current one
void ConsoleScrollUp();

// A line for a run without a console to show it (output and error both redirected, or none at
// all): written to standard error, so a script learns why the run failed. With a console, the
// console shows it and this writes nothing.
void ConsoleAbsentReport(std::string_view line);

// The colour numbers the generator uses.
inline constexpr int kLightRed = 12;
inline constexpr int kLightGrey = 7;
inline constexpr int kKeepColour = -1;
