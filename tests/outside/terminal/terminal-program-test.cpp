// The whole program in a real terminal: tmux runs quorvel in a folder with the encoder, the tests
// type at its prompts and read the pane back, and the terminal settings (stty -g) must read the
// same after every end as before the start.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "tests/outside/terminal/tmux-pane.h"

namespace {

using terminaltest::Eventually;
using terminaltest::ShellQuote;

const char kBanner[] = "Generates JT65 Symbols from 13 character plain text message";
const char kDestinationPrompt[] = "Destination file ( JT65SYMB.INC )";
const char kReport[] = "Symbols written to JT65SYMB.INC";
const char kFirstTableRow[] = "    de   d'41', d'26', d'52', d'55', d'27', d'48', d'25', d'00'";
const char kCommentRow[] = "    ;    CQ K1ABC FN42";

class ProgramInTerminalTest : public terminaltest::TmuxTest {
 protected:
  void SetUp() override {
    TmuxTest::SetUp();
    std::filesystem::create_directories(File("work"));
  }
  void WithEncoder() {
    std::filesystem::copy_file(terminaltest::BinFolder() + "/JT65CODE.EXE",
                               File("work") / "JT65CODE.EXE");
  }
  // An encoder that is a shell script with these lines.
  void WithEncoderScript(const std::string& lines) {
    std::ofstream(File("work") / "JT65CODE.EXE") << "#!/bin/sh\n" << lines;
    std::filesystem::permissions(File("work") / "JT65CODE.EXE", std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add);
  }
  // The real encoder, run after the lines of script.
  void WithEncoderAfter(const std::string& lines) {
    WithEncoderScript(lines + "exec " + ShellQuote(terminaltest::BinFolder() + "/JT65CODE.EXE") +
                      " \"$@\"\n");
  }
  // quorvel in the folder "work", started after `before` ran there, with its exit status in
  // "status".
  void StartProgram(const std::string& arguments = "", const std::string& redirection = "",
                    const std::string& before = "") {
    std::string program = ShellQuote(terminaltest::BinFolder() + "/quorvel") + " " + arguments;
    Start("cd " + ShellQuote(dir_.string()) +
          "\nstty -g > before\nunset COMSPEC comspec\ncd work\n" + before + "\n" +
          Tracked(program) + " " + redirection + "\necho $? > ../status\ncd ..\nstty -g > after");
  }
  void ExpectSettingsGivenBack() {
    EXPECT_EQ(WaitForFile("after"), Read("before")) << "stty -g differs after the program ended";
  }
  bool WaitForCursor(int x, int y) {
    bool there = Eventually([&] { return Cursor() == std::make_pair(x, y); });
    EXPECT_TRUE(there) << "the cursor is at " << Cursor().first << "," << Cursor().second
                       << ", not at " << x << "," << y;
    return there;
  }
  void ExpectBannerFrom(int top) {
    EXPECT_EQ(Row(top), "");
    EXPECT_EQ(Row(top + 1), "");
    EXPECT_EQ(Row(top + 2), kBanner);
    EXPECT_EQ(Row(top + 3), "Calls JT65CODE.EXE");
    EXPECT_EQ(Row(top + 4), "");
  }
  // Types at a prompt on row y and waits for the echo.
  void TypeAndWait(int y, const std::string& text, const std::string& rowAfter) {
    Type(text);
    WaitForRow(y, rowAfter);
  }
};

TEST_F(ProgramInTerminalTest, TheWholeDialogue) {
  NEED_TMUX();
  WithEncoder();
  StartProgram();
  ASSERT_TRUE(WaitForRow(2, kBanner));
  ExpectBannerFrom(0);
  EXPECT_EQ(Row(5), "Message");
  WaitForCursor(9, 5);

  TypeAndWait(5, "cq k1abc fn42x", "Message  cq k1abc fn42x");
  Keys("BSpace");
  WaitForRow(5, "Message  cq k1abc fn42");
  WaitForCursor(22, 5);
  // Alt+letter, arrows, function keys, Esc, Tab and Ctrl+C add nothing: the next character typed
  // lands right after the last one.
  Keys("M-a M-Z Up Left Home Delete F5 F12 Tab C-c Escape");
  Type("!");
  WaitForRow(5, "Message  cq k1abc fn42!");
  Keys("BSpace");
  WaitForRow(5, "Message  cq k1abc fn42");
  Keys("Enter");

  ASSERT_TRUE(WaitForRow(8, kDestinationPrompt));
  EXPECT_EQ(Row(6), "");
  EXPECT_EQ(Row(7), "");
  WaitForCursor(36, 8);
  Keys("Enter");
  EXPECT_EQ(WaitForFile("status"), "0\n");
  EXPECT_EQ(Row(10), kFirstTableRow);
  for (int y = 11; y < 17; ++y) EXPECT_EQ(Row(y).substr(0, 11), "    de   d'") << "row " << y;
  EXPECT_EQ(Row(17), "    de   d'51', d'56', d'24', d'39', d'38', d'52', d'60'");
  EXPECT_EQ(Row(18), kCommentRow);
  EXPECT_EQ(Row(21), kReport);
  EXPECT_TRUE(std::filesystem::exists(File("work") / "JT65SYMB.INC"));
  ExpectSettingsGivenBack();
}

TEST_F(ProgramInTerminalTest, TheMissingEncoderLineIsLightRedAndTheNextLightGrey) {
  NEED_TMUX();
  StartProgram();  // no encoder in the folder: an early end
  ASSERT_TRUE(WaitForFile("status") != "");
  std::vector<std::string> rows = Screen(true);
  ASSERT_GE(rows.size(), 7u);
  const char missing[] = "JT65CODE.EXE is not present.";
  EXPECT_EQ(Row(5).substr(0, sizeof missing - 1), missing);
  EXPECT_EQ(Row(6), "Visit the WSJT Website for full download");
  std::string red = terminaltest::ColoursBefore(rows[5], missing);
  EXPECT_NE(red.find(";91;"), std::string::npos) << red;
  std::string grey = terminaltest::ColoursBefore(rows[6], "Visit");
  EXPECT_NE(grey.find(";37;"), std::string::npos) << grey;
  EXPECT_LT(std::stoi(Read("status")), 128) << "ended by a signal";
  ExpectSettingsGivenBack();
}

TEST_F(ProgramInTerminalTest, AnEmptyMessageEndsEarlyWithTheTerminalGivenBack) {
  NEED_TMUX();
  WithEncoder();
  StartProgram();
  ASSERT_TRUE(WaitForRow(5, "Message"));
  Keys("Enter");
  EXPECT_EQ(WaitForFile("status"), "0\n");
  ExpectSettingsGivenBack();
}

TEST_F(ProgramInTerminalTest, ALongLineWrapsAndBackspaceErasesBackAcrossTheWrap) {
  NEED_TMUX();
  WithEncoder();
  StartProgram();
  ASSERT_TRUE(WaitForRow(5, "Message"));
  Type(std::string(80, 'x'));
  ASSERT_TRUE(WaitForRow(6, std::string(9, 'x')));
  EXPECT_EQ(Row(5), "Message  " + std::string(71, 'x'));
  WaitForCursor(9, 6);
  for (int i = 0; i < 10; ++i) Keys("BSpace");
  WaitForRow(5, "Message  " + std::string(70, 'x'));
  EXPECT_EQ(Row(6), "");
  WaitForCursor(79, 5);
  for (int i = 0; i < 75; ++i) Keys("BSpace");  // five more than were typed
  WaitForRow(5, "Message");
  WaitForCursor(9, 5);
  TypeAndWait(5, "cq k1abc fn42", "Message  cq k1abc fn42");
  Keys("Enter");
  ASSERT_TRUE(WaitForRow(8, kDestinationPrompt));
  Keys("Enter");
  EXPECT_EQ(WaitForFile("status"), "0\n");
  ExpectSettingsGivenBack();
}

TEST_F(ProgramInTerminalTest, OutputThatReachesTheBottomScrollsAndLosesNothing) {
  NEED_TMUX();
  WithEncoder();
  StartProgram("CQ K1ABC FN42", "", "seq 1 15");  // the program starts on row 15
  ASSERT_TRUE(WaitForText(kDestinationPrompt));
  Keys("Enter");
  EXPECT_EQ(WaitForFile("status"), "0\n");
  std::vector<std::string> transcript = Transcript();
  while (!transcript.empty() && transcript.back().empty()) transcript.pop_back();
  std::vector<std::string> expected;
  for (int n = 1; n <= 15; ++n) expected.push_back(std::to_string(n));
  for (const char* row : {"", "", kBanner, "Calls JT65CODE.EXE", "", "", "", kDestinationPrompt, "",
                          kFirstTableRow}) {
    expected.push_back(row);
  }
  ASSERT_GE(transcript.size(), expected.size() + 10);
  for (size_t i = 0; i < expected.size(); ++i)
    EXPECT_EQ(transcript[i], expected[i]) << "line " << i;
  size_t comment = expected.size() + 7;
  EXPECT_EQ(transcript[comment], kCommentRow);
  EXPECT_EQ(transcript[comment + 1], "");
  EXPECT_EQ(transcript[comment + 2], "");
  EXPECT_EQ(transcript[comment + 3], kReport);
  EXPECT_EQ(transcript.size(), comment + 4);
  // The two line ends after the report left the cursor on the bottom row below two empty rows.
  EXPECT_EQ(Row(21), kReport);
  WaitForCursor(0, 23);
  ExpectSettingsGivenBack();
}

TEST_F(ProgramInTerminalTest, WhatTheEncoderPrintsMovesTheCursorForTheNextOutput) {
  NEED_TMUX();
  WithEncoderAfter("echo 'the encoder speaks' >&2\n");
  StartProgram();
  ASSERT_TRUE(WaitForRow(5, "Message"));
  TypeAndWait(5, "cq k1abc fn42", "Message  cq k1abc fn42");
  Keys("Enter");
  ASSERT_TRUE(WaitForRow(9, kDestinationPrompt));  // one row lower than without the line
  EXPECT_EQ(Row(6), "the encoder speaks");
  Keys("Enter");
  EXPECT_EQ(WaitForFile("status"), "0\n");
  std::vector<std::string> transcript = Transcript();  // the run ends one row below the window
  ASSERT_GE(transcript.size(), 12u);
  EXPECT_EQ(transcript[6], "the encoder speaks");
  EXPECT_EQ(transcript[9], kDestinationPrompt);
  EXPECT_EQ(transcript[11], kFirstTableRow);
  ExpectSettingsGivenBack();
}

// Text and Enter typed while the encoder runs (it takes 2 s here) wait, unseen, for the next
// prompt: they show there once, and the Enter ends the line. What the encoder prints still shows.
TEST_F(ProgramInTerminalTest, KeysTypedWhileTheEncoderRunsShowOnceAtTheNextPrompt) {
  NEED_TMUX();
  WithEncoderAfter("echo 'the encoder speaks' >&2\n: > ../running\nsleep 2\n");
  StartProgram("CQ K1ABC FN42");
  ASSERT_TRUE(Eventually([&] { return std::filesystem::exists(File("running")); }));
  ASSERT_TRUE(WaitForRow(5, "the encoder speaks"));
  Type("out.inc");
  Keys("Enter");
  EXPECT_EQ(WaitForFile("status"), "0\n");
  EXPECT_EQ(Row(5), "the encoder speaks");
  EXPECT_EQ(Row(6), "");
  EXPECT_EQ(Row(7), "");
  EXPECT_EQ(Row(8), std::string(kDestinationPrompt) + "   out.inc");
  EXPECT_EQ(Row(10), kFirstTableRow);
  EXPECT_EQ(Row(21), "Symbols written to out.inc");
  EXPECT_TRUE(std::filesystem::exists(File("work") / "out.inc"));
  ExpectSettingsGivenBack();
}

// A signal that ends the program while the encoder runs still gives the terminal back.
TEST_F(ProgramInTerminalTest, SigtermWhileTheEncoderRunsGivesTheTerminalBack) {
  NEED_TMUX();
  WithEncoderScript(": > ../running\nexec sleep 5\n");
  StartProgram("CQ K1ABC FN42");
  ASSERT_TRUE(Eventually([&] { return std::filesystem::exists(File("running")); }));
  Type("typed");
  Signal("TERM");
  EXPECT_EQ(WaitForFile("status"), "143\n");
  ExpectSettingsGivenBack();
}

TEST_F(ProgramInTerminalTest, SigtermAtAPromptGivesTheTerminalBack) {
  NEED_TMUX();
  WithEncoder();
  StartProgram();
  ASSERT_TRUE(WaitForRow(5, "Message"));
  TypeAndWait(5, "cq", "Message  cq");
  Signal("TERM");
  EXPECT_EQ(WaitForFile("status"), "143\n");
  ExpectSettingsGivenBack();
  EXPECT_EQ(terminaltest::Output(Tmux("display-message -p -t main '#{cursor_flag}'")), "1\n");
}

TEST_F(ProgramInTerminalTest, WithStandardOutputInAFileAllTextStillShowsOnTheTerminal) {
  NEED_TMUX();
  WithEncoder();
  StartProgram("CQ K1ABC FN42", "> ../stdout.txt");
  ASSERT_TRUE(WaitForRow(2, kBanner));
  ASSERT_TRUE(WaitForRow(7, kDestinationPrompt));  // no message prompt: one row less
  Keys("Enter");
  EXPECT_EQ(WaitForFile("status"), "0\n");
  EXPECT_EQ(Row(20), kReport);
  EXPECT_TRUE(std::filesystem::exists(File("stdout.txt")));
  EXPECT_EQ(Read("stdout.txt"), "");
  ExpectSettingsGivenBack();
}

// Bytes written to the terminal for a whole run against the bytes of the text it shows at the
// end (each row's text and a line end for every row up to the last one with text).
TEST_F(ProgramInTerminalTest, TheTerminalGetsLittleMoreThanTheTextItShows) {
  NEED_TMUX();
  WithEncoder();
  // The bytes are caught where the terminal receives them (tmux pipe-pane), from before quorvel
  // starts until the last thing it sends: the terminal given back, wrapping on again.
  StartProgram("", "", "while [ ! -f ../go ]; do sleep 0.01; done");
  terminaltest::Output(
      Tmux("pipe-pane -t main " + ShellQuote("cat > " + ShellQuote(File("bytes").string()))));
  std::ofstream(File("go")).close();
  ASSERT_TRUE(WaitForRow(5, "Message"));
  TypeAndWait(5, "cq k1abc fn42", "Message  cq k1abc fn42");
  Keys("Enter");
  ASSERT_TRUE(WaitForRow(8, kDestinationPrompt));
  Keys("Enter");
  EXPECT_EQ(WaitForFile("status"), "0\n");
  ASSERT_TRUE(Eventually([&] {
    std::string bytes = Read("bytes");
    return bytes.size() >= 5 && bytes.substr(bytes.size() - 5) == "\x1b[?7h";
  }));
  terminaltest::Output(Tmux("pipe-pane -t main"));
  std::string written = std::to_string(Read("bytes").size()) + "\n";
  std::vector<std::string> rows = Screen();
  while (!rows.empty() && rows.back().empty()) rows.pop_back();
  size_t visible = 0;
  for (const std::string& row : rows) visible += row.size() + 1;
  double ratio = std::stod(written) / static_cast<double>(visible);
  std::cout << "terminal bytes " << std::stoul(written) << ", visible text bytes " << visible
            << ", ratio " << ratio << "\n";
  RecordProperty("terminal_bytes", written.substr(0, written.size() - 1));
  RecordProperty("visible_bytes", std::to_string(visible));
  EXPECT_LE(ratio, 1.5);
}

}  // namespace
