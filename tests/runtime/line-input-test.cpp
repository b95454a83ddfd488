// Line input from key records as a real console gives them: the key filter, echo, Backspace across
// a wrapped line, the 10000-character limit and the cursor shown while reading.
#include "runtime/line-input.h"

#include <gtest/gtest.h>

#include "platform/memory/memory-console.h"
#include "platform/scan-codes.h"
#include "runtime/console-output.h"
#include "runtime/process.h"

namespace {

class LineInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    memcon::Reset(10, 5);
    SetUpConsole();
  }
  static void Enter() { memcon::PushKey(u'\r', pf::kScanEnter); }
  static void Backspace() { memcon::PushKey(8, pf::kScanBackspace); }
  static void Extended(uint16_t scan) { memcon::PushKey(0, scan, pf::kEnhancedKey); }
};

TEST_F(LineInputTest, EnterOnAnEmptyLineGivesEmptyTextAndANewRow) {
  ConsoleWrite("Message  ");
  Enter();
  EXPECT_EQ(ConsoleReadLine(), "");
  EXPECT_EQ(memcon::Cursor().x, 0);
  EXPECT_EQ(memcon::Cursor().y, 1);
}

TEST_F(LineInputTest, TypedCharactersAreEchoedAndReturned) {
  memcon::PushText(u"Hi there");
  Enter();
  EXPECT_EQ(ConsoleReadLine(), "Hi there");
  EXPECT_EQ(memcon::RowAscii(0), "Hi there  ");
}

TEST_F(LineInputTest, BackspaceNeverErasesThePrompt) {
  ConsoleWrite("P>");
  Backspace();
  memcon::PushText(u"ab");
  Backspace();
  Backspace();
  Backspace();
  memcon::PushText(u"c");
  Enter();
  EXPECT_EQ(ConsoleReadLine(), "c");
  EXPECT_EQ(memcon::RowAscii(0), "P>c       ");
}

TEST_F(LineInputTest, ControlAndExtendedKeysAddNothing) {
  memcon::PushKey(u'\t', pf::kScanTab);
  memcon::PushKey(27, pf::kScanEsc);
  memcon::PushKey(0, pf::kScanEsc);
  memcon::PushKey(3, 0x2E, pf::kLeftCtrlPressed);  // Ctrl+C
  for (uint16_t scan : {pf::kScanLeft, pf::kScanRight, pf::kScanUp, pf::kScanDown, pf::kScanHome,
                        pf::kScanEnd, pf::kScanInsert, pf::kScanDelete, pf::kScanF1, pf::kScanF12})
    Extended(scan);
  memcon::PushKey(0, pf::kScanCtrl, pf::kLeftCtrlPressed);
  memcon::PushKey(0, pf::kScanLeftShift, pf::kShiftPressed);
  memcon::PushText(u"k");
  Enter();
  EXPECT_EQ(ConsoleReadLine(), "k");
  EXPECT_EQ(memcon::RowAscii(0), "k         ");
}

TEST_F(LineInputTest, AltWithALetterKeyAddsNothingButAltWithADigitKeyDoes) {
  memcon::PushKey(u'x', pf::ScanCodeForAscii('x'), pf::kLeftAltPressed);
  memcon::PushKey(u'm', pf::ScanCodeForAscii('m'), pf::kRightAltPressed);
  memcon::PushKey(u'5', pf::ScanCodeForAscii('5'), pf::kLeftAltPressed);
  Enter();
  EXPECT_EQ(ConsoleReadLine(), "5");
}

TEST_F(LineInputTest, KeyUpRecordsRepeatCountsAndOtherEventsAreNotTaken) {
  pf::InputRecord up;
  up.key = pf::KeyEventRecord{false, 1, 0, 0x1E, u'a', 0};
  memcon::PushRecord(up);
  pf::InputRecord repeated;
  repeated.key = pf::KeyEventRecord{true, 3, 0, 0x30, u'b', 0};
  memcon::PushRecord(repeated);
  pf::InputRecord mouse;
  mouse.eventType = pf::kMouseEvent;
  mouse.key.unicodeChar = u'm';
  memcon::PushRecord(mouse);
  Enter();
  EXPECT_EQ(ConsoleReadLine(), "b");
}

TEST_F(LineInputTest, KeysLeftAfterEnterWaitForTheNextLine) {
  memcon::PushText(u"one");
  Enter();
  memcon::PushText(u"two");
  Enter();
  EXPECT_EQ(ConsoleReadLine(), "one");
  EXPECT_EQ(ConsoleReadLine(), "two");
}

TEST_F(LineInputTest, ALongLineWrapsAndBackspaceErasesBackAcrossTheWrap) {
  ConsoleWrite("Msg ");
  memcon::PushText(u"abcdefghijkl");  // 4 + 12 cells: wraps onto the second row
  for (int i = 0; i < 14; ++i) Backspace();
  Enter();
  EXPECT_EQ(ConsoleReadLine(), "");
  EXPECT_EQ(memcon::RowAscii(0), "Msg       ");
  EXPECT_EQ(memcon::RowAscii(1), "          ");
}

TEST_F(LineInputTest, BackspaceAfterAFullLastRowStaysOnThatRow) {
  pf::SetConsoleCursorPosition(consoleState.consoleOut, pf::Coord{6, 4});
  memcon::PushText(u"wxyz");  // fills the last row: the scroll is owed, not made
  Backspace();
  Enter();
  EXPECT_EQ(ConsoleReadLine(), "wxy");
  EXPECT_EQ(memcon::RowAscii(3), "      wxy ");  // one scroll only: the Enter's line end
}

TEST_F(LineInputTest, TheLineHoldsAtMost10000Characters) {
  memcon::Reset(200, 60);
  SetUpConsole();
  memcon::PushText(std::u16string(10001, u'q'));
  Backspace();
  memcon::PushText(u"r");
  Enter();
  std::string line = ConsoleReadLine();
  EXPECT_EQ(line.size(), 10000u);
  EXPECT_EQ(line.back(), 'r');
}

bool cursorSeenWhileWaiting = false;

TEST_F(LineInputTest, AHiddenCursorIsShownWhileReadingAndHiddenAgain) {
  consoleState.cursorVisible = false;
  memcon::SetCursorShape(pf::CursorInfo{25, false});
  Enter();
  memcon::SetSleepHook([] { cursorSeenWhileWaiting = memcon::CursorShape().visible; });
  ConsoleReadLine();
  memcon::SetSleepHook(nullptr);
  EXPECT_TRUE(cursorSeenWhileWaiting);
  EXPECT_FALSE(memcon::CursorShape().visible);
  EXPECT_FALSE(consoleState.cursorForced);
}

TEST_F(LineInputTest, WithoutConsoleInputTheLineIsEmptyAtOnce) {
  memcon::Reset(10, 5);
  memcon::SetConsoleInputAvailable(false);
  SetUpConsole();
  EXPECT_EQ(ConsoleReadLine(), "");
}

TEST_F(LineInputTest, TheWaitSleepsBeforeEveryLook) {
  memcon::PushKey(u'z', 0x2C);
  EXPECT_EQ(WaitCharacterKey(), u'z');
  EXPECT_EQ(memcon::Sleeps(), 1);
  EXPECT_EQ(memcon::PendingRecords(), 1u);  // the key-up stays until the next look
  EXPECT_EQ(PollKey().kind, KeyKind::kNone);
  EXPECT_EQ(memcon::PendingRecords(), 0u);
}

}  // namespace
