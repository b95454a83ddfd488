// The drawing of the terminal console: colours as SGR, only the cells that changed, short cursor
// moves, and a scroll of the whole buffer as the terminal's own scroll.
#include <gtest/gtest.h>

#include <string>

#include "platform/posix/console-posix-screen.h"

namespace {

using pf::tty::Screen;

// A 10 x 4 screen whose terminal shows known blanks in colour 7, cursor in the corner.
Screen KnownScreen() {
  Screen s;
  pf::tty::ResetScreen(&s, 10, 4);
  for (pf::tty::ShownCell& cell : s.shown) cell = pf::tty::ShownCell{u' ', 7, true};
  s.termX = 0;
  s.termY = 0;
  s.pen = 7;
  s.autowrapOff = true;
  return s;
}

void Put(Screen* s, int x, int y, const std::u16string& text, uint16_t attributes = 7) {
  for (size_t i = 0; i < text.size(); ++i) {
    pf::tty::CellAt(s, x + static_cast<int>(i), y) = pf::tty::Cell{text[i], attributes};
    pf::tty::MarkChanged(s, x + static_cast<int>(i), y);
  }
}

std::string Drawn(Screen* s) {
  pf::tty::Render(s);
  std::string bytes = s->out;
  s->out.clear();
  return bytes;
}

TEST(TerminalColours, WindowsColourBitsMapToAnsiWithBlueAndRedSwapped) {
  EXPECT_EQ(pf::tty::AnsiColourIndex(0), 0);
  EXPECT_EQ(pf::tty::AnsiColourIndex(1), 4);  // blue
  EXPECT_EQ(pf::tty::AnsiColourIndex(2), 2);  // green
  EXPECT_EQ(pf::tty::AnsiColourIndex(3), 6);  // cyan
  EXPECT_EQ(pf::tty::AnsiColourIndex(4), 1);  // red
  EXPECT_EQ(pf::tty::AnsiColourIndex(6), 3);  // brown / yellow
  EXPECT_EQ(pf::tty::AnsiColourIndex(7), 7);
}

TEST(TerminalColours, SgrSetsOnlyWhatChangesAndIntenseColoursUseTheBrightCodes) {
  EXPECT_EQ(pf::tty::SgrChange(pf::tty::kUnknown, 0x07), "\x1b[0;37;40m");
  EXPECT_EQ(pf::tty::SgrChange(0x07, 0x0C), "\x1b[91m");  // light red
  EXPECT_EQ(pf::tty::SgrChange(0x0C, 0x07), "\x1b[37m");
  EXPECT_EQ(pf::tty::SgrChange(0x07, 0x17), "\x1b[44m");
  EXPECT_EQ(pf::tty::SgrChange(0x07, 0x9F), "\x1b[97;104m");
  EXPECT_EQ(pf::tty::SgrChange(0x08, 0x08), "");
  EXPECT_EQ(pf::tty::SgrChange(0x07, 0x4007), "");  // attribute bits beyond the colours
}

TEST(TerminalGlyphs, ControlCodesShowAsThePcGlyphsAndWhatUtf8CannotHoldAsReplacement) {
  auto glyph = [](char16_t ch) {
    std::string out;
    pf::tty::AppendGlyph(ch, &out);
    return out;
  };
  EXPECT_EQ(glyph(u'A'), "A");
  EXPECT_EQ(glyph(0), " ");
  EXPECT_EQ(glyph(u'\n'), "\u25d9");
  EXPECT_EQ(glyph(u'\r'), "\u266a");
  EXPECT_EQ(glyph(0x1B), "\u2190");
  EXPECT_EQ(glyph(0x7F), "\u2302");
  EXPECT_EQ(glyph(0x9B), "\ufffd");  // a C1 control would start a sequence on some terminals
  EXPECT_EQ(glyph(0xD83D), "\ufffd");
  EXPECT_EQ(glyph(u'\u00e9'), "\u00e9");
  EXPECT_EQ(glyph(u'\u20ac'), "\u20ac");
  std::string out;
  EXPECT_TRUE(pf::tty::AppendGlyph(u'\u2014', &out));
  EXPECT_FALSE(pf::tty::AppendGlyph(u'\u4e00', &out));  // wide on most terminals
}

TEST(TerminalDrawing, TheFirstDrawTurnsWrappingOffAndSetsTheColours) {
  Screen s;
  pf::tty::ResetScreen(&s, 10, 4);
  Put(&s, 2, 1, u"Hi");
  EXPECT_EQ(Drawn(&s), "\x1b[?7l\x1b[2;3H\x1b[0;37;40mHi");
  EXPECT_EQ(Drawn(&s), "");
}

TEST(TerminalDrawing, OnlyChangedCellsAreDrawn) {
  Screen s = KnownScreen();
  Put(&s, 0, 0, u"abcdef");
  EXPECT_EQ(Drawn(&s), "abcdef");
  Put(&s, 0, 0, u"abcdef");
  EXPECT_EQ(Drawn(&s), "");
  Put(&s, 0, 0, u"abXdeY");
  EXPECT_EQ(Drawn(&s), "\x1b[4DXdeY");  // "de" again is shorter than a move
  Put(&s, 0, 0, u"abXdeY", 0x0C);
  EXPECT_EQ(Drawn(&s), "\r\x1b[91mabXdeY");
}

TEST(TerminalDrawing, AShortStretchIsDrawnAgainRatherThanJumpedOver) {
  Screen s = KnownScreen();
  Put(&s, 0, 0, u"abcdef");
  Drawn(&s);
  Put(&s, 0, 0, u"Xbcdef");
  Put(&s, 3, 0, u"Y");
  EXPECT_EQ(Drawn(&s), "\rXbcY");
}

TEST(TerminalDrawing, BlanksOfTheSameBackgroundNeedNoRedraw) {
  Screen s = KnownScreen();
  Put(&s, 0, 1, u"   ", 0x0C);
  EXPECT_EQ(Drawn(&s), "");
  Put(&s, 0, 1, u" ", 0x1C);
  EXPECT_EQ(Drawn(&s), "\n\x1b[91;44m ");
}

TEST(TerminalDrawing, CursorMovesTakeTheShortestForm) {
  Screen s = KnownScreen();
  Put(&s, 0, 0, u"abc");
  Drawn(&s);
  s.cursor = pf::Coord{2, 0};  // one back: backspace
  pf::tty::PlaceCursor(&s);
  EXPECT_EQ(s.out, "\b");
  s.out.clear();
  s.cursor = pf::Coord{0, 1};  // start of the next row
  pf::tty::PlaceCursor(&s);
  EXPECT_EQ(s.out, "\r\n");
  s.out.clear();
  s.cursor = pf::Coord{5, 3};
  pf::tty::PlaceCursor(&s);
  EXPECT_EQ(s.out, "\x1b[4;6H");
  s.out.clear();
  pf::tty::PlaceCursor(&s);
  EXPECT_EQ(s.out, "");
  s.termX = s.termY = pf::tty::kUnknown;
  s.cursor = pf::Coord{0, 0};
  pf::tty::PlaceCursor(&s);
  EXPECT_EQ(s.out, "\x1b[H");
}

TEST(TerminalDrawing, LineFeedsMoveDownToColumnZeroWithTheReturnTheDriverAdds) {
  Screen s = KnownScreen();
  s.termX = 4;
  s.cursor = pf::Coord{0, 2};
  pf::tty::PlaceCursor(&s);
  EXPECT_EQ(s.out, "\r\n\n");
  s.out.clear();
  s.lineFeedReturns = true;
  s.termX = 4;
  s.cursor = pf::Coord{0, 3};
  pf::tty::PlaceCursor(&s);
  EXPECT_EQ(s.out, "\n");
  s.out.clear();
  Put(&s, 0, 3, u"abc");
  pf::tty::ScrollBlock(&s, pf::SmallRect{0, 1, 9, 3}, nullptr, pf::Coord{0, 0},
                       pf::tty::Cell{u' ', 7});
  EXPECT_EQ(Drawn(&s), "abc\n");
}

TEST(TerminalDrawing, TheCursorIsShownAndHiddenOnlyWhenThatChanges) {
  Screen s = KnownScreen();
  s.cursorShape.visible = false;
  pf::tty::PlaceCursor(&s);
  EXPECT_EQ(s.out, "\x1b[?25l");
  s.out.clear();
  pf::tty::PlaceCursor(&s);
  EXPECT_EQ(s.out, "");
  s.cursorShape.visible = true;
  pf::tty::PlaceCursor(&s);
  EXPECT_EQ(s.out, "\x1b[?25h");
}

TEST(TerminalDrawing, TheLastCellOfARowLeavesTheCursorPlaceUnknown) {
  Screen s = KnownScreen();
  Put(&s, 9, 3, u"Z");
  EXPECT_EQ(Drawn(&s), "\x1b[4;10HZ");
  Put(&s, 0, 3, u"A");
  EXPECT_EQ(Drawn(&s), "\rA");  // same row, so no LF that could scroll
}

TEST(TerminalDrawing, CharactersOfUnsureWidthAreFollowedByAnAbsoluteMove) {
  Screen s = KnownScreen();
  Put(&s, 0, 0, u"\u4e00b");
  EXPECT_EQ(Drawn(&s), "\u4e00\x1b[2Gb");
}

TEST(TerminalScrolling, ScrollingTheWholeBufferUpIsTheTerminalsOwnScroll) {
  Screen s = KnownScreen();
  Put(&s, 0, 0, u"top");
  Put(&s, 0, 3, u"bottom");
  s.cursor = pf::Coord{6, 3};
  pf::tty::ScrollBlock(&s, pf::SmallRect{0, 1, 9, 3}, nullptr, pf::Coord{0, 0},
                       pf::tty::Cell{u' ', 7});
  // The rows are drawn first, so "top" goes into the scrollback; the new row needs no paint.
  EXPECT_EQ(Drawn(&s), "top\x1b[4Hbottom\r\n");
  EXPECT_EQ(pf::tty::CellAt(&s, 0, 2).ch, u'b');
  EXPECT_EQ(pf::tty::CellAt(&s, 0, 3).ch, u' ');
  Put(&s, 0, 3, u"next");
  EXPECT_EQ(Drawn(&s), "next");
}

TEST(TerminalScrolling, TheNewRowTakesTheFillBackground) {
  Screen s = KnownScreen();
  s.termY = 3;
  pf::tty::ScrollBlock(&s, pf::SmallRect{0, 1, 9, 3}, nullptr, pf::Coord{0, 0},
                       pf::tty::Cell{u' ', 0x1C});
  EXPECT_EQ(Drawn(&s), "\x1b[91;44m\n");
  pf::tty::ScrollBlock(&s, pf::SmallRect{0, 2, 9, 3}, nullptr, pf::Coord{0, 0},
                       pf::tty::Cell{u' ', 0x17});
  EXPECT_EQ(Drawn(&s), "\n\n");
}

TEST(TerminalScrolling, OtherBlockMovesAreDrawnCellByCell) {
  Screen s = KnownScreen();
  Put(&s, 0, 0, u"ab");
  Drawn(&s);
  pf::tty::ScrollBlock(&s, pf::SmallRect{0, 0, 1, 0}, nullptr, pf::Coord{2, 1},
                       pf::tty::Cell{u'.', 7});
  EXPECT_EQ(pf::tty::CellAt(&s, 0, 0).ch, u'.');
  EXPECT_EQ(pf::tty::CellAt(&s, 2, 1).ch, u'a');
  EXPECT_EQ(pf::tty::CellAt(&s, 3, 1).ch, u'b');
  EXPECT_EQ(Drawn(&s), "\r..\x1b[Bab");
  pf::SmallRect clip{0, 0, 0, 3};  // only column 0 may change
  pf::tty::ScrollBlock(&s, pf::SmallRect{2, 1, 3, 1}, &clip, pf::Coord{0, 2},
                       pf::tty::Cell{u'-', 7});
  EXPECT_EQ(pf::tty::CellAt(&s, 0, 2).ch, u'a');
  EXPECT_EQ(pf::tty::CellAt(&s, 1, 2).ch, u' ');
  EXPECT_EQ(pf::tty::CellAt(&s, 2, 1).ch, u'a');
}

TEST(TerminalHandBack, AChildFindsTheCursorInPlaceWrappingOnAndTheTextColour) {
  Screen s = KnownScreen();
  s.textAttribute = 0x0C;
  s.cursor = pf::Coord{4, 2};
  pf::tty::HandBack(&s);
  EXPECT_EQ(s.out, "\x1b[3;5H\x1b[91m\x1b[?7h");
  pf::tty::ForgetTerminal(&s);
  s.out.clear();
  Put(&s, 0, 0, u"x");
  EXPECT_EQ(Drawn(&s), "\x1b[?7l\x1b[H\x1b[0;37;40mx");
}

TEST(TerminalResize, CellsThatStillFitAreKept) {
  Screen s = KnownScreen();
  Put(&s, 0, 0, u"abcdefghij");
  s.cursor = pf::Coord{9, 3};
  pf::tty::ResizeScreen(&s, 5, 2);
  EXPECT_EQ(s.cells.size(), 10u);
  EXPECT_EQ(pf::tty::CellAt(&s, 4, 0).ch, u'e');
  EXPECT_EQ(s.cursor.x, 4);
  EXPECT_EQ(s.cursor.y, 1);
  EXPECT_EQ(s.termX, pf::tty::kUnknown);
}

}  // namespace
