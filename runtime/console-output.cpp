// Console output: text goes straight into the cells of the screen buffer in runs of at most one
// row, and a full last row owes its scroll until more output (or a line end) actually needs it.
#include "runtime/console-output.h"

#include <algorithm>

#include "runtime/text.h"

namespace {

constexpr int kMaxRun = 255;

uint16_t CurrentAttribute() {
  return static_cast<uint16_t>(consoleState.foreground + 16 * consoleState.background);
}

bool ReadGeometry(pf::ScreenBufferInfo* info) {
  return pf::GetConsoleScreenBufferInfo(consoleState.consoleOut, info) && info->size.x > 0 &&
         info->size.y > 0;
}

}  // namespace

void ConsoleAbsentReport(std::string_view line) {
  pf::ScreenBufferInfo info;
  if (ReadGeometry(&info)) return;
  pf::WriteStandardError(std::string(line) + "\n");
}

void ConsoleScrollUp() {
  pf::ScreenBufferInfo info;
  if (!ReadGeometry(&info)) return;
  pf::SmallRect source{0, 1, static_cast<int16_t>(info.size.x - 1),
                       static_cast<int16_t>(info.size.y - 1)};
  pf::CharInfo fill{u' ', CurrentAttribute()};
  pf::ScrollConsoleScreenBufferW(consoleState.consoleOut, source, nullptr, pf::Coord{0, 0}, fill);
}

void ConsoleWrite(std::string_view text) {
  ConsoleWriteWide(ToWide(text));
}

void ConsoleWriteWide(std::u16string_view wide) {
  if (wide.empty()) return;
  uint16_t attribute = CurrentAttribute();
  pf::ScreenBufferInfo info;
  if (!ReadGeometry(&info)) return;
  const int width = info.size.x;
  const int height = info.size.y;
  int x = info.cursor.x;
  int y = info.cursor.y;

  pf::CharInfo staged[kMaxRun + 1];
  size_t next = 0;
  while (next < wide.size()) {
    if (consoleState.scrollPending) {
      consoleState.scrollPending = false;
      ConsoleScrollUp();
    }
    int run = static_cast<int>(std::min<size_t>(
        {wide.size() - next, static_cast<size_t>(width - x), static_cast<size_t>(kMaxRun)}));
    for (int i = 0; i < run; ++i) staged[i] = pf::CharInfo{wide[next + i], attribute};
    pf::SmallRect target{static_cast<int16_t>(x), static_cast<int16_t>(y),
                         static_cast<int16_t>(x + run - 1), static_cast<int16_t>(y)};
    pf::WriteConsoleOutputW(consoleState.consoleOut, staged,
                            pf::Coord{static_cast<int16_t>(run), 1}, pf::Coord{0, 0}, &target);
    next += run;
    x += run;
    if (x >= width) {
      x = 0;
      if (y + 1 == height) {
        consoleState.scrollPending = true;
      } else {
        ++y;
      }
    }
  }
  pf::SetConsoleCursorPosition(consoleState.consoleOut,
                               pf::Coord{static_cast<int16_t>(x), static_cast<int16_t>(y)});
}

void ConsoleNewLine() {
  pf::ScreenBufferInfo info;
  if (!ReadGeometry(&info)) return;
  if (info.cursor.y + 1 != info.size.y) {
    pf::SetConsoleCursorPosition(consoleState.consoleOut,
                                 pf::Coord{0, static_cast<int16_t>(info.cursor.y + 1)});
  } else {
    if (consoleState.scrollPending) {
      consoleState.scrollPending = false;
      ConsoleScrollUp();
    }
    ConsoleScrollUp();
    pf::SetConsoleCursorPosition(consoleState.consoleOut,
                                 pf::Coord{0, static_cast<int16_t>(info.size.y - 1)});
  }
  consoleState.scrollPending = false;
}

void ConsoleSetCursor(int column, int row) {
  pf::ScreenBufferInfo info;
  if (!ReadGeometry(&info)) return;
  if (column < 1 || column > info.size.x) column = info.cursor.x + 1;
  if (row < 1 || row > info.size.y) row = info.cursor.y + 1;
  pf::SetConsoleCursorPosition(consoleState.consoleOut, pf::Coord{static_cast<int16_t>(column - 1),
                                                                  static_cast<int16_t>(row - 1)});
  consoleState.scrollPending = false;
}

void ConsoleSetColour(int foreground, int background, int recolourCount) {
  if (static_cast<unsigned>(foreground) <= 15) consoleState.foreground = foreground;
  if (static_cast<unsigned>(background) <= 15) consoleState.background = background;
  pf::SetConsoleTextAttribute(consoleState.consoleOut, CurrentAttribute());
  pf::ScreenBufferInfo info;
  if (recolourCount < 1 || !ReadGeometry(&info)) return;
  int windowCells =
      (info.window.right - info.window.left + 1) * (info.window.bottom - info.window.top + 1);
  if (recolourCount > windowCells) return;
  uint32_t written = 0;
  pf::FillConsoleOutputAttribute(consoleState.consoleOut, CurrentAttribute(),
                                 static_cast<uint32_t>(recolourCount), info.cursor, &written);
}
