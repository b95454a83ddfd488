// Console output on the in-memory console: runs, wrapping, the deferred scroll at the last row,
// colours and the case of no console at all.
#include "runtime/console-output.h"

#include <gtest/gtest.h>

#include "platform/memory/memory-console.h"
#include "runtime/process.h"

namespace {

class ConsoleOutputTest : public ::testing::Test {
 protected:
  void UseConsole(int width, int height) {
    memcon::Reset(width, height);
    SetUpConsole();
  }
  void SetUp() override { UseConsole(10, 4); }
  static void Park(int x, int y) {
    pf::SetConsoleCursorPosition(consoleState.consoleOut,
                                 pf::Coord{static_cast<int16_t>(x), static_cast<int16_t>(y)});
  }
  static void ExpectCursor(int x, int y) {
    EXPECT_EQ(memcon::Cursor().x, x);
    EXPECT_EQ(memcon::Cursor().y, y);
  }
};

TEST_F(ConsoleOutputTest, WritesCellsInTheCurrentColoursAndMovesTheCursorPastThem) {
  ConsoleWrite("abc");
  EXPECT_EQ(memcon::RowAscii(0), "abc       ");
  EXPECT_EQ(memcon::Cell(0, 0).attributes, 7);
  ExpectCursor(3, 0);
}

TEST_F(ConsoleOutputTest, TextFillingTheRestOfARowLeavesTheCursorOnTheNextRow) {
  ConsoleWrite("0123456789");
  ExpectCursor(0, 1);
  ConsoleNewLine();
  ExpectCursor(0, 2);  // one empty row follows the full one
  EXPECT_EQ(memcon::RowAscii(1), "          ");
}

TEST_F(ConsoleOutputTest, LongTextWrapsRowByRow) {
  Park(7, 0);
  ConsoleWrite("abcdefghijklm");
  EXPECT_EQ(memcon::RowAscii(0), "       abc");
  EXPECT_EQ(memcon::RowAscii(1), "defghijklm");
  ExpectCursor(0, 2);
}

TEST_F(ConsoleOutputTest, ARowWiderThanOneRunIsWrittenWhole) {
  UseConsole(600, 3);
  ConsoleWrite(std::string(600, 'x'));  // runs of at most 255 cells: 255 + 255 + 90
  EXPECT_EQ(memcon::RowAscii(0), std::string(600, 'x'));
  ExpectCursor(0, 1);
}

TEST_F(ConsoleOutputTest, AFullLastRowScrollsOnlyWhenMoreOutputComes) {
  Park(0, 3);
  ConsoleWrite("0123456789");
  ExpectCursor(0, 3);
  EXPECT_TRUE(consoleState.scrollPending);
  EXPECT_EQ(memcon::RowAscii(3), "0123456789");  // not scrolled yet
  ConsoleWrite("x");
  EXPECT_EQ(memcon::RowAscii(2), "0123456789");
  EXPECT_EQ(memcon::RowAscii(3), "x         ");
  ExpectCursor(1, 3);
}

TEST_F(ConsoleOutputTest, ALineEndAfterAFullLastRowScrollsTwice) {
  ConsoleWrite("top");
  Park(0, 3);
  ConsoleWrite("0123456789");
  ConsoleNewLine();
  EXPECT_EQ(memcon::RowAscii(0), "          ");  // "top" went with the first scroll
  EXPECT_EQ(memcon::RowAscii(1), "0123456789");
  EXPECT_EQ(memcon::RowAscii(2), "          ");
  EXPECT_EQ(memcon::RowAscii(3), "          ");
  ExpectCursor(0, 3);
  EXPECT_FALSE(consoleState.scrollPending);
}

TEST_F(ConsoleOutputTest, ALineEndOnTheLastRowScrollsOnce) {
  ConsoleWrite("top");
  Park(0, 3);
  ConsoleWrite("last");
  ConsoleNewLine();
  EXPECT_EQ(memcon::RowAscii(0), "          ");
  EXPECT_EQ(memcon::RowAscii(2), "last      ");
  EXPECT_EQ(memcon::RowAscii(3), "          ");
  ExpectCursor(0, 3);
}

TEST_F(ConsoleOutputTest, EmptyTextChangesNothingNotEvenAPendingScroll) {
  Park(0, 3);
  ConsoleWrite("0123456789");
  ConsoleWrite("");
  EXPECT_TRUE(consoleState.scrollPending);
  ExpectCursor(0, 3);
  EXPECT_EQ(memcon::RowAscii(3), "0123456789");
}

TEST_F(ConsoleOutputTest, ControlCharactersTakeOneCellEach) {
  ConsoleWrite("a\nb\r\t");
  EXPECT_EQ(memcon::Cell(1, 0).ch, u'\n');
  EXPECT_EQ(memcon::Cell(2, 0).ch, u'b');
  ExpectCursor(5, 0);
}

TEST_F(ConsoleOutputTest, ScrolledInRowsTakeTheCurrentColours) {
  ConsoleSetColour(12, 1, 0);
  Park(0, 3);
  ConsoleNewLine();
  EXPECT_EQ(memcon::Cell(0, 3).attributes, 12 + 16 * 1);
}

TEST_F(ConsoleOutputTest, ColourChangesKeepWhatIsOutOfRange) {
  ConsoleSetColour(12, -1, 0);
  EXPECT_EQ(consoleState.foreground, 12);
  EXPECT_EQ(consoleState.background, 0);
  ConsoleSetColour(16, 3, 0);
  EXPECT_EQ(consoleState.foreground, 12);
  EXPECT_EQ(consoleState.background, 3);
  EXPECT_EQ(memcon::TextAttribute(), 12 + 16 * 3);
  ConsoleWrite("r");
  EXPECT_EQ(memcon::Cell(0, 0).attributes, 12 + 16 * 3);
  EXPECT_EQ(memcon::Cell(1, 0).attributes, 7);  // a count of 0 recolours nothing
}

TEST_F(ConsoleOutputTest, RecolourCountRecoloursCellsFromTheCursorWithinTheWindow) {
  ConsoleWrite("abcd");
  Park(1, 0);
  ConsoleSetColour(10, 0, 2);
  EXPECT_EQ(memcon::Cell(0, 0).attributes, 7);
  EXPECT_EQ(memcon::Cell(1, 0).attributes, 10);
  EXPECT_EQ(memcon::Cell(2, 0).attributes, 10);
  EXPECT_EQ(memcon::Cell(3, 0).attributes, 7);
  ConsoleSetColour(9, 0, 41);  // more than the window holds: nothing recoloured
  EXPECT_EQ(memcon::Cell(1, 0).attributes, 10);
  EXPECT_EQ(memcon::Cell(3, 0).attributes, 7);
}

TEST_F(ConsoleOutputTest, SetCursorIsOneBasedAndKeepsWhatIsOutside) {
  Park(4, 2);
  ConsoleSetCursor(0, 1);
  ExpectCursor(4, 0);
  ConsoleSetCursor(10, 99);
  ExpectCursor(9, 0);
}

TEST_F(ConsoleOutputTest, StartsLightGreyOnBlackWithTheStartingCursorShape) {
  memcon::Reset(10, 4);
  memcon::SetCursorShape(pf::CursorInfo{0, false});
  consoleState.foreground = 14;
  SetUpConsole();
  EXPECT_EQ(consoleState.foreground, 7);
  EXPECT_EQ(consoleState.background, 0);
  EXPECT_EQ(consoleState.cursorSize, 10u);  // a size of 0 is replaced by a visible cursor of 10
  EXPECT_TRUE(memcon::CursorShape().visible);
  EXPECT_EQ(memcon::InputMode(), 0u);
}

TEST_F(ConsoleOutputTest, OutputGoesToStandardErrorWhenStandardOutputIsNoConsole) {
  memcon::Reset(10, 4);
  memcon::SetStdOutputIsConsole(false);
  SetUpConsole();
  ConsoleWrite("seen");
  EXPECT_EQ(memcon::RowAscii(0), "seen      ");
}

TEST_F(ConsoleOutputTest, WithoutAnyConsoleNothingIsWritten) {
  memcon::Reset(10, 4);
  memcon::SetStdOutputIsConsole(false);
  memcon::SetStdErrorIsConsole(false);
  SetUpConsole();
  ConsoleWrite("lost");
  ConsoleNewLine();
  ConsoleSetCursor(2, 2);
  for (int y = 0; y < 4; ++y) EXPECT_EQ(memcon::RowAscii(y), "          ");
  ExpectCursor(0, 0);
}

TEST(ConsoleControlHandlerTest, ClaimsCtrlCBreakAndCloseOnly) {
  EXPECT_TRUE(ConsoleControlHandler(pf::kCtrlCEvent));
  EXPECT_TRUE(ConsoleControlHandler(pf::kCtrlBreakEvent));
  EXPECT_TRUE(ConsoleControlHandler(pf::kCtrlCloseEvent));
  EXPECT_FALSE(ConsoleControlHandler(pf::kCtrlLogoffEvent));
  EXPECT_FALSE(ConsoleControlHandler(pf::kCtrlShutdownEvent));
}

}  // namespace
