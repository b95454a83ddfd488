// The in-memory console: the console primitives over a cell grid and a key-record queue, with a few
// extra calls for tests to set it up and read it back.
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <vector>

#include "platform/cell-grid.h"
#include "platform/memory/memory-console.h"
#include "platform/platform.h"
#include "platform/scan-codes.h"

namespace {

constexpr pf::Handle kStdIn = 0x10;
constexpr pf::Handle kStdOut = 0x11;
constexpr pf::Handle kStdErr = 0x12;
constexpr pf::Handle kConIn = 0x13;

struct MemoryConsole {
  int width = 80;
  int height = 25;
  std::vector<pf::CharInfo> cells = std::vector<pf::CharInfo>(80 * 25);
  pf::Coord cursor;
  pf::CursorInfo cursorShape;
  uint16_t textAttribute = 7;
  uint32_t inputMode = 0x1F7;
  uint32_t outputMode = 3;
  bool stdOutIsConsole = true;
  bool stdErrIsConsole = true;
  bool inputAvailable = true;
  std::deque<pf::InputRecord> input;
  int sleeps = 0;
  int idleSleeps = 0;
  void (*sleepHook)() = nullptr;
};

MemoryConsole& Con() {
  static MemoryConsole console;
  return console;
}

bool IsScreen(pf::Handle h) {
  return (h == kStdOut && Con().stdOutIsConsole) || (h == kStdErr && Con().stdErrIsConsole);
}
bool IsInput(pf::Handle h) {
  return h == kConIn || h == kStdIn;
}

pf::CharInfo& At(int x, int y) {
  return Con().cells[static_cast<size_t>(y * Con().width + x)];
}
bool Inside(int x, int y) {
  return x >= 0 && y >= 0 && x < Con().width && y < Con().height;
}

}  // namespace

namespace memcon {

void Reset(int width, int height) {
  MemoryConsole& c = Con();
  c = MemoryConsole{};
  c.width = width;
  c.height = height;
  c.cells.assign(static_cast<size_t>(width * height), pf::CharInfo{});
}

void SetStdOutputIsConsole(bool isConsole) {
  Con().stdOutIsConsole = isConsole;
}
void SetStdErrorIsConsole(bool isConsole) {
  Con().stdErrIsConsole = isConsole;
}
void SetConsoleInputAvailable(bool available) {
  Con().inputAvailable = available;
}

pf::CharInfo Cell(int x, int y) {
  return Inside(x, y) ? At(x, y) : pf::CharInfo{};
}

std::u16string RowText(int y) {
  std::u16string row;
  for (int x = 0; x < Con().width; ++x) row += Cell(x, y).ch;
  return row;
}

std::string RowAscii(int y) {
  std::string row;
  for (char16_t ch : RowText(y)) row += ch < 0x80 ? static_cast<char>(ch) : '?';
  return row;
}

pf::Coord Cursor() {
  return Con().cursor;
}
pf::CursorInfo CursorShape() {
  return Con().cursorShape;
}
void SetCursorShape(const pf::CursorInfo& shape) {
  Con().cursorShape = shape;
}
uint16_t TextAttribute() {
  return Con().textAttribute;
}
uint32_t InputMode() {
  return Con().inputMode;
}

void PushRecord(const pf::InputRecord& record) {
  Con().input.push_back(record);
}

void PushKey(char16_t ch, uint16_t scanCode, uint32_t controlKeyState, uint16_t virtualKey) {
  pf::InputRecord record;
  record.key.unicodeChar = ch;
  record.key.virtualScanCode = scanCode;
  record.key.controlKeyState = controlKeyState;
  record.key.virtualKeyCode = virtualKey;
  PushRecord(record);
  record.key.keyDown = false;
  PushRecord(record);
}

void PushText(std::u16string_view text) {
  for (char16_t ch : text)
    PushKey(ch, pf::ScanCodeForAscii(ch), pf::NeedsShift(ch) ? pf::kShiftPressed : 0);
}

size_t PendingRecords() {
  return Con().input.size();
}
int Sleeps() {
  return Con().sleeps;
}
void SetSleepHook(void (*hook)()) {
  Con().sleepHook = hook;
}

}  // namespace memcon

namespace pf {

Handle GetStdHandle(uint32_t which) {
  if (which == kStdInputHandle) return kStdIn;
  if (which == kStdOutputHandle) return kStdOut;
  if (which == kStdErrorHandle) return kStdErr;
  return kInvalidHandle;
}

Handle OpenConsoleInput() {
  return Con().inputAvailable ? kConIn : kInvalidHandle;
}

bool CloseConsoleHandle(Handle console) {
  return console == kConIn;
}

bool GetConsoleMode(Handle console, uint32_t* mode) {
  if (IsInput(console)) {
    if (!Con().inputAvailable) return false;
    *mode = Con().inputMode;
    return true;
  }
  if (!IsScreen(console)) return false;
  *mode = Con().outputMode;
  return true;
}

bool SetConsoleMode(Handle console, uint32_t mode) {
  if (IsInput(console)) {
    if (!Con().inputAvailable) return false;
    Con().inputMode = mode;
    return true;
  }
  if (!IsScreen(console)) return false;
  Con().outputMode = mode;
  return true;
}

bool SetConsoleCtrlHandler(ControlHandler, bool) {
  return true;
}

bool GetConsoleCursorInfo(Handle console, CursorInfo* info) {
  if (!IsScreen(console)) return false;
  *info = Con().cursorShape;
  return true;
}

bool SetConsoleCursorInfo(Handle console, const CursorInfo& info) {
  if (!IsScreen(console) || info.size < 1 || info.size > 100) return false;
  Con().cursorShape = info;
  return true;
}

bool GetConsoleScreenBufferInfo(Handle console, ScreenBufferInfo* info) {
  if (!IsScreen(console)) return false;
  const MemoryConsole& c = Con();
  info->size = {static_cast<int16_t>(c.width), static_cast<int16_t>(c.height)};
  info->cursor = c.cursor;
  info->attributes = c.textAttribute;
  info->window = {0, 0, static_cast<int16_t>(c.width - 1), static_cast<int16_t>(c.height - 1)};
  return true;
}

bool WriteConsoleOutputW(Handle console, const CharInfo* cells, Coord bufferSize,
                         Coord bufferOrigin, SmallRect* region) {
  if (!IsScreen(console)) return false;
  return WriteCells(Con().width, Con().height, cells, bufferSize, bufferOrigin, region,
                    [](int x, int y, const CharInfo& from) { At(x, y) = from; });
}

bool ScrollConsoleScreenBufferW(Handle console, const SmallRect& source, const SmallRect* clip,
                                Coord destination, const CharInfo& fill) {
  if (!IsScreen(console)) return false;
  ScrollCells(&Con().cells, Con().width, Con().height, source, clip, destination, fill,
              [](int, int) {});
  return true;
}

bool SetConsoleCursorPosition(Handle console, Coord position) {
  if (!IsScreen(console) || !Inside(position.x, position.y)) return false;
  Con().cursor = position;
  return true;
}

bool SetConsoleTextAttribute(Handle console, uint16_t attributes) {
  if (!IsScreen(console)) return false;
  Con().textAttribute = attributes;
  return true;
}

bool FillConsoleOutputAttribute(Handle console, uint16_t attributes, uint32_t length, Coord start,
                                uint32_t* written) {
  if (!IsScreen(console)) return false;
  return FillAttributes(Con().width, Con().height, length, start, written,
                        [attributes](int x, int y) { At(x, y).attributes = attributes; });
}

bool PeekConsoleInputW(Handle console, InputRecord* records, uint32_t length, uint32_t* read) {
  *read = 0;
  if (!IsInput(console) || !Con().inputAvailable) return false;
  for (uint32_t i = 0; i < length && i < Con().input.size(); ++i)
    records[(*read)++] = Con().input[i];
  return true;
}

bool ReadConsoleInputW(Handle console, InputRecord* records, uint32_t length, uint32_t* read) {
  *read = 0;
  if (!IsInput(console) || !Con().inputAvailable) return false;
  while (*read < length && !Con().input.empty()) {
    records[(*read)++] = Con().input.front();
    Con().input.pop_front();
  }
  return true;
}

// A test that waits for a key nobody queued ends here instead of hanging.
void Sleep(uint32_t) {
  ++Con().sleeps;
  if (Con().sleepHook != nullptr) Con().sleepHook();
  if (Con().input.empty() && ++Con().idleSleeps > 100000) {
    std::fputs("memory console: waiting for a key that no test queued\n", stderr);
    std::abort();
  }
  if (!Con().input.empty()) Con().idleSleeps = 0;
}

}  // namespace pf
