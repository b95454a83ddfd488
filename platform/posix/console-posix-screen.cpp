// The screen buffer of the terminal console and its drawing. The sequences it sends:
//
//   ESC [ row ; col H    CUP, cursor to a cell (ESC [ row H for column 1, ESC [ H for the corner)
//   ESC [ n A / B        CUU / CUD, n rows up / down, column kept (n left out when 1)
//   ESC [ n C / D        CUF / CUB, n columns right / left
//   ESC [ n G            CHA, cursor to column n of its row
//   CR, BS               cursor to column 0, one column left
//   (CR) LF ...          cursor to column 0 some rows down (CR left out when the terminal driver
//                        adds it); at the bottom row the whole window scrolls up one row, the top
//                        row going into the scrollback
//   ESC [ a ; b m        SGR colours: 30-37 / 90-97 foreground, 40-47 / 100-107 background;
//                        0 first when the colours in effect are unknown
//   ESC [ ? 7 l / h      DECAWM off while drawing, so a full bottom row never scrolls by itself;
//                        on again for a child process
//   ESC [ ? 25 l / h     cursor hidden / shown
//
// A new bottom row after a scroll takes the background colour in effect (what xterm, tmux, VTE
// and the Linux console do), so the scroll sets that colour first and paints nothing.
#include "platform/posix/console-posix-screen.h"

#include <algorithm>
#include <cstddef>

#include "platform/cell-grid.h"
#include "platform/unicode.h"

namespace pf::tty {
namespace {

constexpr char16_t kReplacement = pf::unicode::kReplacement;

// The glyphs of the PC character set for the control codes 1..31, which a console shows for
// them: a cell's character is never interpreted.
constexpr char16_t kControlGlyphs[32] = {
    u' ',      u'\u263A', u'\u263B', u'\u2665', u'\u2666', u'\u2663', u'\u2660', u'\u2022',
    u'\u25D8', u'\u25CB', u'\u25D9', u'\u2642', u'\u2640', u'\u266A', u'\u266B', u'\u263C',
    u'\u25BA', u'\u25C4', u'\u2195', u'\u203C', u'\u00B6', u'\u00A7', u'\u25AC', u'\u21A8',
    u'\u2191', u'\u2193', u'\u2192', u'\u2190', u'\u221F', u'\u2194', u'\u25B2', u'\u25BC'};
constexpr char16_t kDeleteGlyph = u'\u2302';

// Characters every terminal gives one column: Latin, Greek, Cyrillic letters, the punctuation,
// arrows, box drawing and card signs of the code pages, and the glyphs above.
bool SurelyNarrow(char16_t ch) {
  struct Range {
    char16_t first, last;
  };
  constexpr Range kNarrow[] = {
      {0x20, 0x7E},     {0xA0, 0x2FF},    {0x370, 0x482},   {0x2010, 0x2027}, {0x2030, 0x205E},
      {0x20A0, 0x20C0}, {0x2100, 0x214F}, {0x2190, 0x22FF}, {0x2302, 0x2302}, {0x2500, 0x25FF},
      {0x263A, 0x263C}, {0x2640, 0x2642}, {0x2660, 0x266F}, {0xFFFD, 0xFFFD}};
  for (const Range& r : kNarrow) {
    if (ch >= r.first && ch <= r.last) return true;
  }
  return false;
}

// Only the 16 colours of foreground and background are drawn; the other attribute bits are not.
uint16_t Colours(uint16_t attributes) {
  return attributes & 0xFF;
}

// A blank shows only its background, so its foreground need not match.
bool LooksSame(const ShownCell& shown, const Cell& cell) {
  if (!shown.known || shown.ch != cell.ch) return false;
  uint16_t mask = cell.ch == u' ' ? 0xF0 : 0xFF;
  return (shown.attributes & mask) == (cell.attributes & mask);
}

size_t Index(const Screen& s, int x, int y) {
  return static_cast<size_t>(y) * s.width + x;
}

std::string Number(int n) {
  return std::to_string(n);
}

// ESC [ n X, with n left out when it is 1.
std::string Relative(int n, char final) {
  return "\x1b[" + (n == 1 ? std::string() : Number(n)) + final;
}

// The cursor to column x of its own row, from column fromX (kUnknown allowed).
std::string Horizontal(int fromX, int x) {
  if (fromX == x) return "";
  if (x == 0) return "\r";
  if (fromX == kUnknown) return "\x1b[" + Number(x + 1) + "G";
  if (x == fromX - 1) return "\b";
  std::string relative = x > fromX ? Relative(x - fromX, 'C') : Relative(fromX - x, 'D');
  std::string absolute = "\x1b[" + Number(x + 1) + "G";
  return relative.size() <= absolute.size() ? relative : absolute;
}

std::string CursorMove(const Screen& s, int x, int y) {
  std::string best = "\x1b[";
  if (y > 0 || x > 0) best += Number(y + 1);
  if (x > 0) best += ";" + Number(x + 1);
  best += "H";
  if (s.termY == kUnknown) return best;
  std::string vertical;
  int fromX = s.termX;
  if (y > s.termY) {
    if (x == 0) {  // above the bottom row LF only moves down
      vertical = (s.lineFeedReturns || s.termX == 0 ? "" : "\r") + std::string(y - s.termY, '\n');
      fromX = 0;
    } else {
      vertical = Relative(y - s.termY, 'B');
    }
  } else if (y < s.termY) {
    vertical = Relative(s.termY - y, 'A');
  }
  std::string relative = vertical + Horizontal(fromX, x);
  return relative.size() < best.size() ? relative : best;
}

// Drawing cells again is cheaper than a move over a short stretch that already shows them.
bool RedrawInstead(const Screen& s, int x, int y, size_t moveCost) {
  if (s.termY != y || s.termX == kUnknown || s.termX > x || s.pen == kUnknown) return false;
  if (static_cast<size_t>(x - s.termX) > moveCost) return false;
  for (int i = s.termX; i < x; ++i) {
    const Cell& cell = s.cells[Index(s, i, y)];
    if (!LooksSame(s.shown[Index(s, i, y)], cell) || cell.ch < 0x20 || cell.ch > 0x7E ||
        Colours(cell.attributes) != s.pen) {
      return false;
    }
  }
  return true;
}

void MoveTo(Screen* s, int x, int y) {
  if (s->termX == x && s->termY == y) return;
  std::string move = CursorMove(*s, x, y);
  if (RedrawInstead(*s, x, y, move.size())) {
    for (int i = s->termX; i < x; ++i) s->out += static_cast<char>(s->cells[Index(*s, i, y)].ch);
  } else {
    s->out += move;
  }
  s->termX = x;
  s->termY = y;
}

void SetPen(Screen* s, uint16_t attributes) {
  s->out += SgrChange(s->pen, attributes);
  s->pen = Colours(attributes);
}

void DrawCell(Screen* s, int x, int y) {
  const Cell& cell = s->cells[Index(*s, x, y)];
  if (!s->autowrapOff) {
    s->out += "\x1b[?7l";
    s->autowrapOff = true;
  }
  MoveTo(s, x, y);
  SetPen(s, cell.attributes);
  bool narrow = AppendGlyph(cell.ch, &s->out);
  s->shown[Index(*s, x, y)] = ShownCell{cell.ch, Colours(cell.attributes), true};
  // Without autowrap the cursor stays on the last column; a glyph of unsure width leaves it
  // wherever the terminal thinks.
  s->termX = narrow && x + 1 < s->width ? x + 1 : kUnknown;
}

void MarkRowChanged(Screen* s, int y, int first, int last) {
  s->dirtyFirst[y] = std::min(s->dirtyFirst[y], first);
  s->dirtyLast[y] = std::max(s->dirtyLast[y], last);
}

void ClearChanges(Screen* s) {
  s->dirtyFirst.assign(static_cast<size_t>(s->height), s->width);
  s->dirtyLast.assign(static_cast<size_t>(s->height), -1);
}

// The terminal's own scroll: the top row goes into its scrollback and a blank row comes in at
// the bottom, in the background colour in effect.
void ScrollTerminalUp(Screen* s, Cell fill) {
  MoveTo(s, s->termY == s->height - 1 && s->termX != kUnknown ? s->termX : 0, s->height - 1);
  if (s->pen == kUnknown || (s->pen & 0xF0) != (fill.attributes & 0xF0)) SetPen(s, fill.attributes);
  s->out += s->termX == 0 || s->lineFeedReturns ? "\n" : "\r\n";
  s->termX = 0;
  s->shown.erase(s->shown.begin(), s->shown.begin() + s->width);
  s->shown.insert(s->shown.end(), static_cast<size_t>(s->width),
                  ShownCell{u' ', static_cast<uint16_t>(s->pen), true});
}

bool WholeBufferUp(const Screen& s, const pf::SmallRect& source, const pf::SmallRect* clip,
                   pf::Coord destination, int* rows) {
  bool clipAll = clip == nullptr || (clip->left <= 0 && clip->top <= 0 &&
                                     clip->right >= s.width - 1 && clip->bottom >= s.height - 1);
  *rows = source.top;
  return clipAll && destination.x == 0 && destination.y == 0 && source.left == 0 &&
         source.right >= s.width - 1 && source.bottom >= s.height - 1 && source.top > 0 &&
         source.top < s.height;
}

}  // namespace

void ResetScreen(Screen* s, int width, int height) {
  s->width = width;
  s->height = height;
  s->cells.assign(static_cast<size_t>(width) * height, Cell{});
  s->shown.assign(static_cast<size_t>(width) * height, ShownCell{});
  ClearChanges(s);
  ForgetTerminal(s);
  s->cursor.x = static_cast<int16_t>(std::min<int>(s->cursor.x, width - 1));
  s->cursor.y = static_cast<int16_t>(std::min<int>(s->cursor.y, height - 1));
}

void ResizeScreen(Screen* s, int width, int height) {
  std::vector<Cell> old = s->cells;
  int oldWidth = s->width;
  int oldHeight = s->height;
  ResetScreen(s, width, height);
  for (int y = 0; y < std::min(height, oldHeight); ++y) {
    for (int x = 0; x < std::min(width, oldWidth); ++x) {
      s->cells[Index(*s, x, y)] = old[static_cast<size_t>(y) * oldWidth + x];
    }
  }
}

void ForgetTerminal(Screen* s) {
  for (ShownCell& cell : s->shown) cell.known = false;
  s->termX = kUnknown;
  s->termY = kUnknown;
  s->pen = kUnknown;
  s->autowrapOff = false;
}

Cell& CellAt(Screen* s, int x, int y) {
  return s->cells[Index(*s, x, y)];
}

void MarkChanged(Screen* s, int x, int y) {
  MarkRowChanged(s, y, x, x);
}

void ScrollBlock(Screen* s, const pf::SmallRect& source, const pf::SmallRect* clip,
                 pf::Coord destination, Cell fill) {
  int rows = 0;
  if (WholeBufferUp(*s, source, clip, destination, &rows)) {
    Render(s);  // the rows that leave must be on the terminal before they go to its scrollback
    for (int i = 0; i < rows; ++i) ScrollTerminalUp(s, fill);
    s->cells.erase(s->cells.begin(),
                   s->cells.begin() + static_cast<std::ptrdiff_t>(rows) * s->width);
    s->cells.insert(s->cells.end(), static_cast<size_t>(rows) * s->width, fill);
    for (int y = s->height - rows; y < s->height; ++y) MarkRowChanged(s, y, 0, s->width - 1);
    return;
  }
  pf::ScrollCells(&s->cells, s->width, s->height, source, clip, destination, fill,
                  [s](int x, int y) { MarkChanged(s, x, y); });
}

void Render(Screen* s) {
  for (int y = 0; y < s->height; ++y) {
    for (int x = s->dirtyFirst[y]; x <= s->dirtyLast[y]; ++x) {
      if (!LooksSame(s->shown[Index(*s, x, y)], s->cells[Index(*s, x, y)])) DrawCell(s, x, y);
    }
  }
  ClearChanges(s);
}

void PlaceCursor(Screen* s) {
  MoveTo(s, s->cursor.x, s->cursor.y);
  if (s->termCursorVisible != s->cursorShape.visible) {
    s->out += s->cursorShape.visible ? "\x1b[?25h" : "\x1b[?25l";
    s->termCursorVisible = s->cursorShape.visible;
  }
}

void HandBack(Screen* s) {
  Render(s);
  PlaceCursor(s);
  SetPen(s, s->textAttribute);
  if (s->autowrapOff) {
    s->out += "\x1b[?7h";
    s->autowrapOff = false;
  }
}

int AnsiColourIndex(int consoleColour) {
  return ((consoleColour & 1) << 2) | (consoleColour & 2) | ((consoleColour & 4) >> 2);
}

std::string SgrChange(int from, uint16_t to) {
  int foreground = to & 0x0F;
  int background = (to >> 4) & 0x0F;
  auto code = [](int colour, int normal, int intense) {
    return Number((colour & 8 ? intense : normal) + AnsiColourIndex(colour));
  };
  std::string parameters;
  if (from == kUnknown) parameters = "0;";
  if (from == kUnknown || (from & 0x0F) != foreground) parameters += code(foreground, 30, 90) + ";";
  if (from == kUnknown || ((from >> 4) & 0x0F) != background) {
    parameters += code(background, 40, 100) + ";";
  }
  if (parameters.empty()) return "";
  parameters.pop_back();
  return "\x1b[" + parameters + "m";
}

bool AppendGlyph(char16_t ch, std::string* out) {
  if (ch < 0x20) {
    ch = kControlGlyphs[ch];
  } else if (ch == 0x7F) {
    ch = kDeleteGlyph;
  } else if ((ch >= 0x80 && ch <= 0x9F) || pf::unicode::IsSurrogate(ch)) {
    ch = kReplacement;
  }
  pf::unicode::AppendUtf8(ch, out);
  return SurelyNarrow(ch);
}

}  // namespace pf::tty
