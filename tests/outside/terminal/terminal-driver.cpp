// A small program that uses the console calls directly, for the tests that run it in tmux. It
// prepares the console as the program does, draws what its first argument names, then logs every
// key record it gets to the file named by its second argument until Ctrl+D is released.
//
//   terminal-driver draw LOG     text at fixed cells in several colours, the cursor at (3, 8)
//   terminal-driver scroll LOG   every row filled, three scrolls at the bottom, then a full last
//   row terminal-driver keys LOG     nothing drawn but "READY" at the cursor
//
// Log lines: D or U (key down or up), then the character, scan code and control key state in hex.
// Ctrl+A makes the driver crash (abort), for the tests of the terminal given back after a crash.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/platform.h"

namespace {

pf::Handle screen = pf::kInvalidHandle;

bool ClaimEverything(uint32_t) {
  return true;
}

void Text(int x, int y, uint16_t attributes, const std::u16string& text) {
  std::u16string cells = text;
  pf::CharInfo row[256];
  for (size_t i = 0; i < cells.size() && i < 256; ++i) row[i] = pf::CharInfo{cells[i], attributes};
  pf::SmallRect region{static_cast<int16_t>(x), static_cast<int16_t>(y),
                       static_cast<int16_t>(x + cells.size() - 1), static_cast<int16_t>(y)};
  pf::WriteConsoleOutputW(screen, row, pf::Coord{static_cast<int16_t>(cells.size()), 1},
                          pf::Coord{0, 0}, &region);
}

std::u16string Wide(const std::string& ascii) {
  return std::u16string(ascii.begin(), ascii.end());
}

void Draw() {
  Text(4, 2, 0x07, u"Hello, terminal");
  Text(0, 4, 0x0C, u"light red");
  Text(10, 5, 0x1E, u"yellow on blue");
  Text(0, 6, 0x07, u"tab\there\u00e9");
  pf::SetConsoleCursorPosition(screen, pf::Coord{3, 8});
}

void FillAndScroll() {
  pf::ScreenBufferInfo info;
  if (!pf::GetConsoleScreenBufferInfo(screen, &info)) return;
  const int width = info.size.x;
  const int height = info.size.y;
  for (int y = 0; y < height; ++y) Text(0, y, 0x07, Wide("line " + std::to_string(y)));
  for (int i = 1; i <= 3; ++i) {
    pf::SmallRect all{0, 1, static_cast<int16_t>(width - 1), static_cast<int16_t>(height - 1)};
    pf::ScrollConsoleScreenBufferW(screen, all, nullptr, pf::Coord{0, 0}, pf::CharInfo{u' ', 0x07});
    Text(0, height - 1, 0x07, Wide("more " + std::to_string(i)));
  }
  std::u16string full = u"full";
  full.resize(static_cast<size_t>(width - 1), u'=');
  Text(0, height - 1, 0x0A, full + u"|");
  pf::SetConsoleCursorPosition(screen, pf::Coord{0, static_cast<int16_t>(height - 1)});
}

void ShowReady() {
  pf::ScreenBufferInfo info;
  if (!pf::GetConsoleScreenBufferInfo(screen, &info)) return;
  Text(info.cursor.x, info.cursor.y, 0x07, u"READY");
  pf::SetConsoleCursorPosition(screen,
                               pf::Coord{static_cast<int16_t>(info.cursor.x + 5), info.cursor.y});
}

// Polls as the line input does: a short sleep, then a look without waiting.
void LogKeys(pf::Handle input, std::FILE* log) {
  for (;;) {
    pf::Sleep(1);
    pf::InputRecord record;
    uint32_t count = 0;
    if (!pf::PeekConsoleInputW(input, &record, 1, &count) || count == 0) continue;
    pf::ReadConsoleInputW(input, &record, 1, &count);
    const pf::KeyEventRecord& key = record.key;
    std::fprintf(log, "%c %04X %02X %08X\n", key.keyDown ? 'D' : 'U',
                 static_cast<unsigned>(key.unicodeChar), static_cast<unsigned>(key.virtualScanCode),
                 static_cast<unsigned>(key.controlKeyState));
    std::fflush(log);
    if (key.keyDown && key.unicodeChar == 1) std::abort();
    if (!key.keyDown && key.unicodeChar == 4) return;
  }
}

}  // namespace

int main(int argc, char** argv) {
  pf::ProcessAttach(argc, argv);
  if (argc != 3) {
    std::fputs("usage: terminal-driver draw|scroll|keys LOG\n", stderr);
    return 2;
  }
  std::FILE* log = std::fopen(argv[2], "w");
  if (log == nullptr) {
    std::fprintf(stderr, "terminal-driver: cannot write %s\n", argv[2]);
    return 2;
  }
  pf::Handle stdOut = pf::GetStdHandle(pf::kStdOutputHandle);
  pf::Handle stdIn = pf::GetStdHandle(pf::kStdInputHandle);
  screen = pf::GetStdHandle(pf::kStdErrorHandle);
  pf::Handle input = pf::OpenConsoleInput();
  uint32_t mode = 0;
  if (pf::GetConsoleMode(stdOut, &mode)) screen = stdOut;
  pf::SetConsoleMode(screen, pf::kEnableProcessedOutput | pf::kEnableWrapAtEolOutput);
  pf::SetConsoleMode(stdIn, 0);
  pf::SetConsoleCtrlHandler(ClaimEverything, true);

  std::string scenario = argv[1];
  if (scenario == "draw") {
    Draw();
  } else if (scenario == "scroll") {
    FillAndScroll();
  } else {
    ShowReady();
  }
  LogKeys(input, log);
  std::fclose(log);
  pf::ExitProcess(0);
}
