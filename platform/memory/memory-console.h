// The in-memory console: a cell grid, a cursor and a queue of key records standing in for the
// real console, so tests can drive the console services and read back every cell they wrote.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace memcon {

// Starts afresh: a W x H grid of blanks in colour 7 on 0, the cursor at (0, 0), no keys queued,
// standard output and error both on the console, input available, no sleep counted.
void Reset(int width, int height);

void SetStdOutputIsConsole(bool isConsole);
void SetStdErrorIsConsole(bool isConsole);
void SetConsoleInputAvailable(bool available);  // false: opening the console input fails

pf::CharInfo Cell(int x, int y);
std::u16string RowText(int y);  // the characters of row y, trailing blanks included
std::string RowAscii(int y);    // the same narrowed to bytes (tests write ASCII)
pf::Coord Cursor();
pf::CursorInfo CursorShape();
void SetCursorShape(const pf::CursorInfo& shape);
uint16_t TextAttribute();  // the last SetConsoleTextAttribute
uint32_t InputMode();

void PushRecord(const pf::InputRecord& record);
// A key press and its release, as a real console gives them.
void PushKey(char16_t ch, uint16_t scanCode, uint32_t controlKeyState = 0, uint16_t virtualKey = 0);
void PushText(std::u16string_view text);  // each character as a key press and release
size_t PendingRecords();

// Runs hook at every Sleep of the line input (nullptr: none), so a test can act while the program
// waits for a key.
void SetSleepHook(void (*hook)());

// How often the program slept (Sleep) since the last Reset.
int Sleeps();

}  // namespace memcon
