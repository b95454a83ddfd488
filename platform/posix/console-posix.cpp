// The console primitives on a Linux terminal: the controlling terminal is the console, its window
// the screen buffer, its keys the input buffer. Output is drawn lazily: cells and cursor moves
// collect until the program waits (for a key, a sleep, a child process) or ends, then go out in
// one write. Sent besides what console-posix-screen.cpp sends:
//
//   ESC [ 6 n    ask where the cursor is (answer ESC [ row ; col R), at the start, after a child
//                process, after a stop and after a change of window size
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <deque>

#include "platform/cell-grid.h"
#include "platform/platform.h"
#include "platform/posix/console-posix-keys.h"
#include "platform/posix/console-posix-screen.h"
#include "platform/posix/console-posix-terminal.h"
#include "platform/posix/posix-hooks.h"

namespace {

using pf::tty::Screen;

constexpr pf::Handle kStdIn = 0x10;
constexpr pf::Handle kStdOut = 0x11;
constexpr pf::Handle kStdErr = 0x12;
constexpr pf::Handle kConsoleInput = 0x13;

constexpr int kCursorAnswerMs = 200;  // a terminal answers within a few; some never do
constexpr int kKeyPauseMs = 50;       // an ESC alone for this long is the Esc key
constexpr size_t kOutputBatch = 16384;

constexpr uint32_t kLineInput = 0x2;          // ENABLE_LINE_INPUT; without it, keys come one by one
constexpr uint32_t kCookedInputMode = 0x1F7;  // what a console starts with

struct Console {
  bool started = false;  // StartConsole has run
  bool stdInIsTerminal = false;
  bool stdOutIsTerminal = false;
  bool stdErrIsTerminal = false;
  bool finished = false;  // the process is ending: the terminal is given back for good
  bool screenReady = false;
  bool cursorUncertain = true;  // the terminal's cursor must be asked for before it is used
  Screen screen;
  uint32_t outputMode = pf::kEnableProcessedOutput | pf::kEnableWrapAtEolOutput;

  // What the terminal's input mode follows from (InputModeIsRaw).
  bool rawWanted = false;       // the program asked for keys one by one
  bool inChild = false;         // a child process shares the terminal
  bool awaitingCursor = false;  // a cursor query waits for its answer
  bool rawApplied = false;      // the mode last put on the terminal (at first: as found)

  bool inputOpen = false;
  std::string keyBytes;  // bytes read from the terminal, not yet keys
  int64_t lastByteMs = 0;
  int unansweredQueries = 0;
  std::deque<pf::InputRecord> records;
};

Console& Con() {
  static Console console;
  return console;
}

int64_t NowMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// Both standard streams that are terminals show the one screen.
bool IsScreenHandle(pf::Handle handle) {
  return (handle == kStdOut && Con().stdOutIsTerminal) ||
         (handle == kStdErr && Con().stdErrIsTerminal);
}

bool IsInputHandle(pf::Handle handle) {
  if (pf::tty::InputFd() < 0) return false;
  return (handle == kConsoleInput && Con().inputOpen) ||
         (handle == kStdIn && Con().stdInIsTerminal);
}

// The one place that decides the terminal's input mode. Raw (keys one by one, no echo) while the
// program reads keys, while a child runs (keys typed meanwhile wait unseen for our next read, as
// in a console's input buffer) and while a cursor query waits (its answer must neither wait for
// Enter nor show); as found otherwise, and for good once the console is finished.
bool InputModeIsRaw(const Console& c) {
  return !c.finished && (c.rawWanted || c.inChild || c.awaitingCursor);
}

// Puts the terminal in the mode the state calls for, after every change of that state; again
// (even when unchanged) after a child or a stop, which may have changed it behind our back.
void ApplyInputMode(bool again = false) {
  Console& c = Con();
  bool raw = InputModeIsRaw(c);
  if (raw == c.rawApplied && !again) return;
  pf::tty::SetRawInput(raw);
  c.rawApplied = raw;
}

void WritePending() {
  Console& c = Con();
  pf::tty::WriteToTerminal(c.screen.out);
  c.screen.out.clear();
}

void LearnCursor();
void CatchUp();

// Brings the terminal up to date: the cells drawn, the cursor where the program put it.
void Flush() {
  Console& c = Con();
  CatchUp();
  if (c.screenReady && !c.finished && !c.inChild) {
    LearnCursor();
    pf::tty::Render(&c.screen);
    pf::tty::PlaceCursor(&c.screen);
  }
  WritePending();
}

// Asks the terminal where its cursor is; keys typed meanwhile stay queued as keys.
bool AskCursor(pf::Coord* position) {
  Console& c = Con();
  if (pf::tty::InputFd() < 0 || pf::tty::OutputFd() < 0) return false;
  c.awaitingCursor = true;
  ApplyInputMode();
  c.screen.out += "\x1b[6n";
  WritePending();
  int64_t deadline = NowMs() + kCursorAnswerMs;
  bool answered = false;
  for (;;) {
    if (pf::tty::TakeCursorReport(&c.keyBytes, position)) {
      answered = true;
      break;
    }
    int64_t left = deadline - NowMs();
    if (left <= 0) break;
    size_t before = c.keyBytes.size();
    if (!pf::tty::ReadTerminal(&c.keyBytes, static_cast<int>(left))) break;
    if (c.keyBytes.size() != before) c.lastByteMs = NowMs();
  }
  c.awaitingCursor = false;
  ApplyInputMode();
  if (!answered) ++c.unansweredQueries;  // its answer may still come, among the keys
  return answered;
}

// The cursor where the terminal has it, once someone else may have moved it: the program's
// cursor starts there.
void LearnCursor() {
  Console& c = Con();
  if (!c.cursorUncertain || c.inChild || c.finished) return;
  c.cursorUncertain = false;
  WritePending();
  pf::Coord at;
  if (!AskCursor(&at)) return;
  at.x = std::min<int16_t>(at.x, static_cast<int16_t>(c.screen.width - 1));
  at.y = std::min<int16_t>(at.y, static_cast<int16_t>(c.screen.height - 1));
  c.screen.cursor = at;
  c.screen.termX = at.x;
  c.screen.termY = at.y;
}

// Takes up what signals reported: a stop and continue, a new window size.
void CatchUp() {
  Console& c = Con();
  if (pf::tty::TakeContinued() && !c.inChild && !c.finished) {
    ApplyInputMode(true);  // the stop gave the terminal back as found
    if (c.screenReady) {
      pf::tty::ForgetTerminal(&c.screen);
      c.screen.termCursorVisible = true;  // shown when the terminal was given back
      c.cursorUncertain = true;
    }
  }
  if (pf::tty::TakeResized() && c.screenReady) {
    int width = 0;
    int height = 0;
    pf::tty::WindowSize(&width, &height);
    if (width != c.screen.width || height != c.screen.height) {
      pf::tty::ResizeScreen(&c.screen, width, height);
    } else {
      pf::tty::ForgetTerminal(&c.screen);  // the terminal may have rewrapped its lines
    }
    c.cursorUncertain = true;
  }
}

// The child shares our console, and as on Windows, keys typed while it runs wait in the input
// buffer, unseen, for our next read: the terminal stays raw (no echo, no line editing), so typed
// text shows once, at the next prompt, and an Enter arrives as Enter. Output is left as it is.
void BeforeChild() {
  Console& c = Con();
  CatchUp();
  if (c.screenReady && !c.finished) pf::tty::HandBack(&c.screen);
  WritePending();
  c.inChild = true;
  ApplyInputMode();
}

void AfterChild() {
  Console& c = Con();
  c.inChild = false;
  if (c.finished) return;
  ApplyInputMode(true);
  if (c.screenReady) {
    pf::tty::ForgetTerminal(&c.screen);
    c.screen.lineFeedReturns = pf::tty::LineFeedReturns();  // the child may have changed that
    c.cursorUncertain = true;
  }
}

void AtEnd() {
  Console& c = Con();
  if (c.finished) return;
  Flush();
  c.finished = true;
  pf::tty::FinishTerminal();
}

// The console's one start: the terminal's descriptors and signal handlers, which standard streams
// are terminals, and the hooks that give the terminal back around a child and at the end. Run by
// the two calls that hand out console handles (GetStdHandle, OpenConsoleInput); every other call
// takes one of those handles, so it finds the console started.
void StartConsole() {
  Console& c = Con();
  if (c.started) return;
  c.started = true;
  pf::tty::StartTerminal();
  c.stdInIsTerminal = isatty(0);
  c.stdOutIsTerminal = isatty(1);
  c.stdErrIsTerminal = isatty(2);
  pf::posix::AddExitHook(AtEnd);
  std::atexit(AtEnd);
  pf::posix::SetChildProcessHooks({BeforeChild, AfterChild});
}

// The screen behind an output handle, made ready at first use; nullptr for a handle that is no
// terminal.
Screen* ScreenOf(pf::Handle handle) {
  Console& c = Con();
  if (!IsScreenHandle(handle)) return nullptr;
  CatchUp();
  if (!c.screenReady) {
    int width = 0;
    int height = 0;
    pf::tty::WindowSize(&width, &height);
    pf::tty::ResetScreen(&c.screen, width, height);
    c.screen.lineFeedReturns = pf::tty::LineFeedReturns();
    // Unknown until asked: then the bottom row, from which output scrolls up over nothing.
    c.screen.cursor = pf::Coord{0, static_cast<int16_t>(height - 1)};
    c.screenReady = true;
  }
  LearnCursor();
  return &c.screen;
}

bool Inside(const Screen& s, int x, int y) {
  return x >= 0 && y >= 0 && x < s.width && y < s.height;
}

// Reads what the terminal sent (waiting up to timeoutMs for it) and decodes it into key records.
void Gather(int timeoutMs) {
  Console& c = Con();
  size_t before = c.keyBytes.size();
  bool alive = pf::tty::ReadTerminal(&c.keyBytes, timeoutMs);
  int64_t now = NowMs();
  if (c.keyBytes.size() != before) c.lastByteMs = now;
  bool pause = now - c.lastByteMs >= kKeyPauseMs;
  pf::tty::DecodedInput decoded;
  size_t used = pf::tty::DecodeKeys(c.keyBytes, pause, c.unansweredQueries > 0, &decoded);
  c.keyBytes.erase(0, used);
  c.unansweredQueries = std::max(0, c.unansweredQueries - decoded.cursorReports);
  c.records.insert(c.records.end(), decoded.records.begin(), decoded.records.end());
  if (!alive) {
    Flush();
    pf::tty::EndAfterHangUp();
  }
}

// Keys come one by one only in raw mode, whatever the program did with the input modes.
void PrepareInput() {
  Console& c = Con();
  if (!c.rawWanted) {
    c.rawWanted = true;
    ApplyInputMode();
  }
  Flush();
}

}  // namespace

namespace pf {

Handle GetStdHandle(uint32_t which) {
  StartConsole();
  if (which == kStdInputHandle) return kStdIn;
  if (which == kStdOutputHandle) return kStdOut;
  if (which == kStdErrorHandle) return kStdErr;
  return kInvalidHandle;
}

Handle OpenConsoleInput() {
  StartConsole();
  if (tty::InputFd() < 0) return kInvalidHandle;
  Con().inputOpen = true;
  return kConsoleInput;
}

bool CloseConsoleHandle(Handle console) {
  if (console == kConsoleInput && Con().inputOpen) {
    Con().inputOpen = false;
    return true;
  }
  return console == kStdIn || console == kStdOut || console == kStdErr;
}

bool GetConsoleMode(Handle console, uint32_t* mode) {
  if (mode == nullptr) return false;
  if (console == kStdIn || console == kConsoleInput) {
    if (console == kStdIn ? !Con().stdInIsTerminal : !IsInputHandle(console)) return false;
    *mode = Con().rawWanted ? 0 : kCookedInputMode;
    return true;
  }
  if (!IsScreenHandle(console)) return false;
  *mode = Con().outputMode;
  return true;
}

bool SetConsoleMode(Handle console, uint32_t mode) {
  Console& c = Con();
  if (IsInputHandle(console)) {
    c.rawWanted = (mode & kLineInput) == 0;
    ApplyInputMode();
    return true;
  }
  if (!IsScreenHandle(console)) return false;
  c.outputMode = mode;
  return true;
}

bool SetConsoleCtrlHandler(ControlHandler handler, bool add) {
  tty::SetControlHandler(handler, add);
  return true;
}

bool GetConsoleCursorInfo(Handle console, CursorInfo* info) {
  if (info == nullptr || !IsScreenHandle(console)) return false;
  *info = Con().screen.cursorShape;
  return true;
}

bool SetConsoleCursorInfo(Handle console, const CursorInfo& info) {
  if (!IsScreenHandle(console) || info.size < 1 || info.size > 100) return false;
  Con().screen.cursorShape = info;
  return true;
}

bool GetConsoleScreenBufferInfo(Handle console, ScreenBufferInfo* info) {
  Screen* s = ScreenOf(console);
  if (s == nullptr || info == nullptr) return false;
  info->size = Coord{static_cast<int16_t>(s->width), static_cast<int16_t>(s->height)};
  info->cursor = s->cursor;
  info->attributes = s->textAttribute;
  info->window =
      SmallRect{0, 0, static_cast<int16_t>(s->width - 1), static_cast<int16_t>(s->height - 1)};
  return true;
}

bool WriteConsoleOutputW(Handle console, const CharInfo* cells, Coord bufferSize,
                         Coord bufferOrigin, SmallRect* region) {
  Screen* s = ScreenOf(console);
  if (s == nullptr) return false;
  return WriteCells(s->width, s->height, cells, bufferSize, bufferOrigin, region,
                    [s](int x, int y, const CharInfo& from) {
                      tty::CellAt(s, x, y) = tty::Cell{from.ch, from.attributes};
                      tty::MarkChanged(s, x, y);
                    });
}

bool ScrollConsoleScreenBufferW(Handle console, const SmallRect& source, const SmallRect* clip,
                                Coord destination, const CharInfo& fill) {
  Screen* s = ScreenOf(console);
  if (s == nullptr) return false;
  tty::ScrollBlock(s, source, clip, destination, tty::Cell{fill.ch, fill.attributes});
  if (s->out.size() >= kOutputBatch) WritePending();
  return true;
}

bool SetConsoleCursorPosition(Handle console, Coord position) {
  Screen* s = ScreenOf(console);
  if (s == nullptr || !Inside(*s, position.x, position.y)) return false;
  s->cursor = position;
  return true;
}

bool SetConsoleTextAttribute(Handle console, uint16_t attributes) {
  if (!IsScreenHandle(console)) return false;
  Con().screen.textAttribute = attributes;
  return true;
}

bool FillConsoleOutputAttribute(Handle console, uint16_t attributes, uint32_t length, Coord start,
                                uint32_t* written) {
  Screen* s = ScreenOf(console);
  if (s == nullptr) return false;
  return FillAttributes(s->width, s->height, length, start, written, [s, attributes](int x, int y) {
    tty::CellAt(s, x, y).attributes = attributes;
    tty::MarkChanged(s, x, y);
  });
}

bool PeekConsoleInputW(Handle console, InputRecord* records, uint32_t length, uint32_t* read) {
  if (records == nullptr || read == nullptr) return false;
  *read = 0;
  if (!IsInputHandle(console)) return false;
  PrepareInput();
  Gather(0);
  Console& c = Con();
  while (*read < length && *read < c.records.size()) {
    records[*read] = c.records[*read];
    ++*read;
  }
  return true;
}

bool ReadConsoleInputW(Handle console, InputRecord* records, uint32_t length, uint32_t* read) {
  if (records == nullptr || read == nullptr) return false;
  *read = 0;
  if (!IsInputHandle(console)) return false;
  Console& c = Con();
  PrepareInput();
  Gather(0);
  while (c.records.empty()) {
    Flush();
    // An unfinished ESC sequence becomes a key once the pause has passed.
    int wait = c.keyBytes.empty()
                   ? -1
                   : static_cast<int>(std::max<int64_t>(1, c.lastByteMs + kKeyPauseMs - NowMs()));
    Gather(wait);
    CatchUp();
  }
  while (*read < length && !c.records.empty()) {
    records[(*read)++] = c.records.front();
    c.records.pop_front();
  }
  return true;
}

void Sleep(uint32_t milliseconds) {
  Flush();
  timespec wait{static_cast<time_t>(milliseconds / 1000),
                static_cast<long>(milliseconds % 1000) * 1000000L};
  while (nanosleep(&wait, &wait) != 0 && errno == EINTR) {
  }
}

}  // namespace pf
