// The screen buffer of the terminal console: the cells the program has put there, beside what the
// terminal shows of them, and the bytes that bring the terminal up to date with as little as
// possible. Pure: the bytes collect in Screen::out for the caller to write.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace pf::tty {

// A cell of the buffer: a character and its attribute, as the console calls give them.
using Cell = pf::CharInfo;

struct ShownCell {
  char16_t ch = u' ';
  uint16_t attributes = 7;
  bool known = false;  // false: the terminal shows something we did not draw
};

inline constexpr int kUnknown = -1;

struct Screen {
  int width = 0;
  int height = 0;
  std::vector<Cell> cells;       // the buffer, as the program reads and writes it
  std::vector<ShownCell> shown;  // the terminal's window, as far as we know it
  std::vector<int> dirtyFirst;   // per row, the columns that may differ from the terminal;
  std::vector<int> dirtyLast;    // none when first > last
  pf::Coord cursor;              // the program's cursor
  pf::CursorInfo cursorShape;
  uint16_t textAttribute = 7;

  // The terminal's own state, as far as known.
  int termX = kUnknown;
  int termY = kUnknown;
  int pen = kUnknown;  // the SGR colours in effect, as a console attribute
  bool termCursorVisible = true;
  bool autowrapOff = false;
  bool lineFeedReturns = false;  // the terminal driver sends LF as CR LF (OPOST and ONLCR)

  std::string out;  // bytes for the terminal, not yet written
};

// A blank buffer of width x height in colour 7; the terminal's content unknown.
void ResetScreen(Screen* screen, int width, int height);
// A new size, keeping the cells that still fit; the terminal's content unknown.
void ResizeScreen(Screen* screen, int width, int height);
// Someone else drew on the terminal: its content, colours and cursor position are unknown.
void ForgetTerminal(Screen* screen);

Cell& CellAt(Screen* screen, int x, int y);
void MarkChanged(Screen* screen, int x, int y);

// Win32 ScrollConsoleScreenBuffer on the cells. Moving the whole buffer up becomes a real terminal
// scroll, which puts the rows that leave the window into the terminal's scrollback.
void ScrollBlock(Screen* screen, const pf::SmallRect& source, const pf::SmallRect* clip,
                 pf::Coord destination, Cell fill);

// Everything changed since the last render, drawn into out.
void Render(Screen* screen);
// The terminal's cursor onto the program's, shown or hidden as asked.
void PlaceCursor(Screen* screen);
// The terminal as a child process should find it: drawn up to date, the cursor in place, the
// text attribute in effect and wrapping at the right edge on.
void HandBack(Screen* screen);

// ---- Encoding, exposed for tests ----------------------------------------------------------------
// The ANSI colour index (0..7) of a console colour's blue 1 / green 2 / red 4 bits.
int AnsiColourIndex(int consoleColour);
// The SGR sequence that changes the colours in effect from attribute `from` (kUnknown: anything)
// to `to`; empty when nothing changes.
std::string SgrChange(int from, uint16_t to);
// Appends the UTF-8 glyph the terminal shows for a cell's character: control codes as the PC
// glyphs a console shows for them, what UTF-8 cannot hold as U+FFFD. Returns false when the
// terminal may give the glyph other than one column.
bool AppendGlyph(char16_t ch, std::string* out);

}  // namespace pf::tty
