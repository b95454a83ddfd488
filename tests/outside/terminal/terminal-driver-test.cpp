// The terminal console in a real terminal: tmux runs the terminal driver, and the tests read the
// pane back. Cells, colours, the scroll at the bottom, the keys as records, and the terminal
// settings (stty -g) given back on every end.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/outside/terminal/tmux-pane.h"
#include "tests/support/sanitizers.h"

namespace {

using terminaltest::Eventually;
using terminaltest::ShellQuote;

class DriverTest : public terminaltest::TmuxTest {
 protected:
  // The driver between two readings of the terminal settings, with its exit status in "status".
  void StartDriver(const std::string& scenario, const std::string& before = "",
                   const std::string& shell = "sh") {
    std::string driver = ShellQuote(terminaltest::BinFolder() + "/terminal-driver") + " " +
                         scenario + " " + ShellQuote(File("keys.log").string());
    Start(before + "cd " + ShellQuote(dir_.string()) + "\nstty -g > before\n" + Tracked(driver) +
              "\necho $? > status\nstty -g > after",
          shell);
  }
  void ExpectSettingsGivenBack() {
    std::string after = WaitForFile("after");
    EXPECT_EQ(after, Read("before")) << "stty -g differs after the driver ended";
  }
  std::string PaneSettings() {
    std::string tty = terminaltest::Output(Tmux("display-message -p -t main '#{pane_tty}'"));
    while (!tty.empty() && tty.back() == '\n') tty.pop_back();
    return terminaltest::Output("stty -g < " + ShellQuote(tty));
  }
  bool CursorShown() {
    return terminaltest::Output(Tmux("display-message -p -t main '#{cursor_flag}'")) == "1\n";
  }
  // The key presses of the log, each checked to be followed by its release.
  std::vector<std::string> Presses() {
    std::vector<std::string> lines = terminaltest::Lines(Read("keys.log"));
    std::vector<std::string> presses;
    for (size_t i = 0; i < lines.size(); ++i) {
      if (lines[i][0] != 'D') continue;
      presses.push_back(lines[i].substr(2));
      EXPECT_TRUE(i + 1 < lines.size() && lines[i + 1] == "U " + lines[i].substr(2))
          << "no release after " << lines[i];
    }
    return presses;
  }
  void WaitForPress(const std::string& press) {
    EXPECT_TRUE(Eventually([&] {
      return Read("keys.log").find("D " + press) != std::string::npos;
    })) << "no key "
        << press << " in the log:\n"
        << Read("keys.log");
  }
};

TEST_F(DriverTest, CellsLandWhereTheyWereWrittenInTheirColours) {
  NEED_TMUX();
  StartDriver("draw");
  ASSERT_TRUE(WaitForRow(2, "    Hello, terminal"));
  EXPECT_EQ(Row(4), "light red");
  EXPECT_EQ(Row(5), "          yellow on blue");
  EXPECT_EQ(Row(6), "tab\u25cbhere\u00e9");  // a tab in a cell is a glyph, not a move
  std::vector<std::string> coloured = Screen(true);
  std::string red = terminaltest::ColoursBefore(coloured[4], "light red");
  EXPECT_NE(red.find(";91;"), std::string::npos) << red;  // light red 12
  std::string yellow = terminaltest::ColoursBefore(coloured[5], "yellow");
  EXPECT_NE(yellow.find(";93;"), std::string::npos) << yellow;  // yellow 14
  EXPECT_NE(yellow.find(";44;"), std::string::npos) << yellow;  // on blue 1
  EXPECT_TRUE(Eventually([&] { return Cursor() == std::make_pair(3, 8); }));
  Keys("C-d");
  EXPECT_EQ(WaitForFile("status"), "0\n");
  ExpectSettingsGivenBack();
  EXPECT_TRUE(CursorShown());
}

TEST_F(DriverTest, ScrollsAtTheBottomPushRowsIntoTheScrollbackAndAFullLastRowStays) {
  NEED_TMUX();
  StartDriver("scroll");
  std::string full = "full" + std::string(75, '=') + "|";
  ASSERT_TRUE(WaitForRow(23, full));
  EXPECT_EQ(Row(0), "line 3");
  EXPECT_EQ(Row(20), "line 23");
  EXPECT_EQ(Row(21), "more 1");
  EXPECT_EQ(Row(22), "more 2");
  std::vector<std::string> transcript = Transcript();
  ASSERT_EQ(transcript.size(), 27u) << "the full last row must not scroll by itself";
  EXPECT_EQ(transcript[0], "line 0");
  EXPECT_EQ(transcript[2], "line 2");
  EXPECT_NE(terminaltest::ColoursBefore(Screen(true)[23], "full").find(";92;"),
            std::string::npos);  // light green 10
  Keys("C-d");
  EXPECT_EQ(WaitForFile("status"), "0\n");
  EXPECT_EQ(Transcript().size(), 27u) << "ending must not scroll either";
  ExpectSettingsGivenBack();
}

TEST_F(DriverTest, KeysArriveAsTheRecordsAConsoleGives) {
  NEED_TMUX();
  StartDriver("keys");
  ASSERT_TRUE(WaitForText("READY"));
  EXPECT_NE(PaneSettings(), Read("before")) << "the terminal is not in raw mode";
  Type("aZ");
  Keys("M-x Up Left S-Up C-Right Home End PPage NPage IC DC F1 F5 F12 BSpace C-c C-z Tab Enter");
  Type("\u00e9");
  WaitForPress("00E9");
  Keys("Escape");  // alone, so the pause tells it from the start of a sequence
  WaitForPress("001B");
  Keys("C-d");
  EXPECT_EQ(WaitForFile("status"), "0\n");
  std::vector<std::string> expected = {
      "0061 1E 00000000", "005A 2C 00000010",                      // a, Z with Shift
      "0078 2D 00000002",                                          // Alt+x
      "0000 48 00000100", "0000 4B 00000100",                      // Up, Left (enhanced keys)
      "0000 48 00000110", "0000 4D 00000108",                      // Shift+Up, Ctrl+Right
      "0000 47 00000100", "0000 4F 00000100",                      // Home, End
      "0000 49 00000100", "0000 51 00000100",                      // Page Up, Page Down
      "0000 52 00000100", "0000 53 00000100",                      // Insert, Delete
      "0000 3B 00000000", "0000 3F 00000000", "0000 58 00000000",  // F1, F5, F12
      "0008 0E 00000000",                                          // Backspace
      "0003 2E 00000008", "001A 2C 00000008",  // Ctrl+C and Ctrl+Z: keys, no signals
      "0009 0F 00000000", "000D 1C 00000000",  // Tab, Enter
      "00E9 00 00000000",                      // é
      "001B 01 00000000",                      // Esc
      "0004 20 00000008",                      // Ctrl+D
  };
  EXPECT_EQ(Presses(), expected);
  ExpectSettingsGivenBack();
}

TEST_F(DriverTest, SigtermWhileWaitingForAKeyGivesTheTerminalBack) {
  NEED_TMUX();
  StartDriver("draw");
  ASSERT_TRUE(WaitForRow(4, "light red"));
  Signal("TERM");
  EXPECT_EQ(WaitForFile("status"), "143\n");
  ExpectSettingsGivenBack();
  EXPECT_TRUE(CursorShown());
}

TEST_F(DriverTest, ACrashGivesTheTerminalBackAndThenTakesItsCourse) {
  NEED_TMUX();
  StartDriver("draw");
  ASSERT_TRUE(WaitForRow(4, "light red"));
  Keys("C-a");  // the driver aborts
  EXPECT_EQ(WaitForFile("status"), "134\n");
  ExpectSettingsGivenBack();
  EXPECT_TRUE(CursorShown());
}

TEST_F(DriverTest, ACrashSignalFromOutsideGivesTheTerminalBackToo) {
  SKIP_UNDER_ASAN("it takes the crash signals over itself");
  NEED_TMUX();
  StartDriver("keys");
  ASSERT_TRUE(WaitForText("READY"));
  Signal("ILL");  // one that AddressSanitizer, when built in, leaves alone
  EXPECT_EQ(WaitForFile("status"), "132\n");
  ExpectSettingsGivenBack();
}

TEST_F(DriverTest, HangUpIsTheCloseEventAndEndsTheProcess) {
  NEED_TMUX();
  StartDriver("keys");
  ASSERT_TRUE(WaitForText("READY"));
  Signal("HUP");
  EXPECT_EQ(WaitForFile("status"), "129\n");
  ExpectSettingsGivenBack();
}

TEST_F(DriverTest, InterruptAndQuitFromOutsideAreClaimedByTheControlHandler) {
  NEED_TMUX();
  StartDriver("keys");
  ASSERT_TRUE(WaitForText("READY"));
  Signal("INT");
  Signal("QUIT");
  Type("k");
  WaitForPress("006B");  // still running
  Keys("C-d");
  EXPECT_EQ(WaitForFile("status"), "0\n");
  ExpectSettingsGivenBack();
}

TEST_F(DriverTest, AStopFromOutsideGivesTheTerminalBackAndContinuingTakesItAgain) {
  NEED_TMUX();
  NEED_TOOL("bash", "package bash");
  // With job control the shell reports the stop, reads the settings and brings the driver back.
  Start("set -m\ncd " + ShellQuote(dir_.string()) + "\nstty -g > before\n" +
            Tracked(ShellQuote(terminaltest::BinFolder() + "/terminal-driver") + " keys keys.log") +
            "\necho $? > stopped\nstty -g > while-stopped\nfg\necho $? > status\n"
            "stty -g > after",
        "bash");
  ASSERT_TRUE(WaitForText("READY"));
  Signal("TSTP");
  EXPECT_EQ(WaitForFile("stopped"), "148\n");
  EXPECT_EQ(WaitForFile("while-stopped"), Read("before"));
  EXPECT_TRUE(Eventually([&] { return PaneSettings() != Read("before"); }))
      << "raw mode was not taken again after continuing";
  Type("x");  // in raw mode it arrives without an Enter
  WaitForPress("0078");
  Keys("C-d");
  EXPECT_EQ(WaitForFile("status"), "0\n");
  ExpectSettingsGivenBack();
}

}  // namespace
