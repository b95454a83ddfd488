// Whole runs of the dialogue on the in-memory console with real files and real child processes:
// the screen cell for cell, the include file byte for byte and the exit code of every end.
#include <gtest/gtest.h>

#include "generator/generator.h"
#include "platform/memory/memory-console.h"
#include "platform/scan-codes.h"
#include "runtime/commands.h"
#include "runtime/errors.h"
#include "runtime/files.h"
#include "runtime/process.h"
#include "tests/support/console-run.h"
#include "tests/support/cq-k1abc-fn42.h"
#include "tests/support/environment.h"
#include "tests/support/temp-folder.h"

namespace {

const char kBanner[] = "Generates JT65 Symbols from 13 character plain text message";

using testsupport::kInclude;

using testsupport::BinFolder;

#ifdef _WIN32
constexpr char kExe[] = ".exe";
#else
constexpr char kExe[] = "";
#endif

class DialogueTest : public testsupport::ConsoleRunTest {
 protected:
  void SetUp() override {
    ConsoleRunTest::SetUp();
    UseTail("");
#ifndef _WIN32
    testsupport::SetEnvironment("COMSPEC", BinFolder() + "/qcmd");
#endif
    testsupport::SetEnvironment("QUORVEL_FAKE_ENCODER", "listing");
  }
  static void UseTail(const std::string& tail) {
    std::u16string wideTail(tail.begin(), tail.end());  // the tests' messages are ASCII
    UseCommandLine(tail.empty() ? u"quorvel" : u"quorvel " + wideTail);
  }
  // The include file as written; the generator leaves it open, which Windows would not share.
  static std::string Include(const std::string& name) {
    CloseFile(2);
    return ReadFile(name);
  }
  void InstallEncoder() {
    std::filesystem::copy_file(BinFolder() + "/fake-encoder" + kExe, "JT65CODE.EXE");
  }
  static void Type(const std::u16string& text) {
    memcon::PushText(text);
    memcon::PushKey(u'\r', pf::kScanEnter);
  }
  static std::string Row(int y) {
    std::string row = memcon::RowAscii(y);
    return row.substr(0, row.find_last_not_of(' ') + 1);
  }
  // The rows from first on, up to the last row that is not empty.
  static std::vector<std::string> Rows(int first) {
    std::vector<std::string> rows;
    for (int y = first; y < 40; ++y) rows.push_back(Row(y));
    while (!rows.empty() && rows.back().empty()) rows.pop_back();
    return rows;
  }
};

TEST_F(DialogueTest, ATailMessageAndTheDefaultDestinationMakeTheIncludeFile) {
  InstallEncoder();
  WriteFile("JT65TEMP.TXT", "Channel symbols\r\n 7\r\nDecoded: LEFT OVER\r\n");
  UseTail("cq k1abc fn42");
  Type(u"");
  EXPECT_EQ(GeneratorMain(), 0);
  EXPECT_EQ(Include("JT65SYMB.INC"), kInclude);  // the run replaced the left-over listing
  EXPECT_FALSE(Exists("JT65TEMP.TXT"));
  std::vector<std::string> expected = {
      "",
      "",
      kBanner,
      "Calls JT65CODE.EXE",
      "",
      "",
      "",
      "Destination file ( JT65SYMB.INC )",
      "",
      "    de   d'41', d'26', d'52', d'55', d'27', d'48', d'25', d'00'",
      "    de   d'44', d'36', d'18', d'03', d'37', d'09', d'51', d'06'",
      "    de   d'23', d'02', d'09', d'54', d'53', d'57', d'38', d'63'",
      "    de   d'17', d'33', d'03', d'37', d'41', d'24', d'01', d'09'",
      "    de   d'35', d'07', d'48', d'09', d'08', d'56', d'12', d'06'",
      "    de   d'11', d'38', d'46', d'48', d'07', d'09', d'00', d'05'",
      "    de   d'17', d'02', d'20', d'50', d'41', d'49', d'09', d'05'",
      "    de   d'51', d'56', d'24', d'39', d'38', d'52', d'60'",
      "    ;    CQ K1ABC FN42",
      "",
      "",
      "Symbols written to JT65SYMB.INC"};
  EXPECT_EQ(Rows(0), expected);
  EXPECT_EQ(memcon::RowAscii(7).substr(0, 36), "Destination file ( JT65SYMB.INC )   ");
  EXPECT_EQ(memcon::RowAscii(20).substr(0, 34), "Symbols written to JT65SYMB.INC   ");
  EXPECT_EQ(memcon::Cursor().y, 22);
  EXPECT_EQ(memcon::Cell(0, 2).attributes, 7);
}

TEST_F(DialogueTest, ATypedMessageAndDestinationAreEchoedAndTheReportNamesTheFile) {
  InstallEncoder();
  Type(u"cq k1abc fn42");
  Type(u"  out.inc  ");
  EXPECT_EQ(GeneratorMain(), 0);
  EXPECT_EQ(Row(5), "Message  cq k1abc fn42");
  EXPECT_EQ(Row(8), "Destination file ( JT65SYMB.INC )     out.inc");
  EXPECT_EQ(Include("out.inc"), kInclude);
  EXPECT_FALSE(Exists("JT65SYMB.INC"));
  EXPECT_EQ(memcon::RowAscii(21).substr(0, 29), "Symbols written to out.inc   ");
}

TEST_F(DialogueTest, TheEncoderGetsTheNormalisedMessageAsOneArgument) {
  InstallEncoder();
  testsupport::SetEnvironment("QUORVEL_FAKE_ENCODER", "args");
  UseTail("hello world and more");
  WriteFile("JT65TEMP.TXT", "left over");
  Type(u"");
  EXPECT_EQ(GeneratorMain(), 1);  // the argument list is no listing
  EXPECT_FALSE(Exists("JT65TEMP.TXT"));
}

TEST_F(DialogueTest, ACommandLineIsCutTo256Characters) {
  testsupport::SetEnvironment("QUORVEL_FAKE_ENCODER", "args");
  testsupport::SetEnvironment("QUORVEL_FAKE_ARGS_FILE", (dir_ / "ARGS.TXT").string());
  std::string program = BinFolder() + "/fake-encoder" + kExe;
  ClearRuntimeError();
  EXPECT_EQ(RunCommandAndWait(program + " " + std::string(300, 'A'), 1), 0u);
  testsupport::ClearEnvironment("QUORVEL_FAKE_ARGS_FILE");
  EXPECT_EQ(LastRuntimeError(), 0);
  EXPECT_EQ(ReadFile("ARGS.TXT"), "[" + std::string(256 - program.size() - 1, 'A') + "]\r\n");
}

TEST_F(DialogueTest, AMissingEncoderShowsARedLineThenAGreyOne) {
  Type(u"");
  EXPECT_EQ(GeneratorMain(), 1);
  EXPECT_EQ(Row(5),
            "JT65CODE.EXE is not present.  Ensure this is in the same directory as QUORVEL");
  EXPECT_EQ(Row(6), "Visit the WSJT Website for full download");
  EXPECT_EQ(memcon::Cell(0, 5).attributes, 12);
  EXPECT_EQ(memcon::Cell(0, 6).attributes, 7);
  EXPECT_EQ(memcon::PendingRecords(), 2u);  // no prompt read anything
}

TEST_F(DialogueTest, AnEmptyMessageEndsSilently) {
  InstallEncoder();
  Type(u"");
  EXPECT_EQ(GeneratorMain(), 0);
  EXPECT_EQ(Rows(0).size(), 6u);
  EXPECT_EQ(Row(5), "Message");
  EXPECT_FALSE(Exists("JT65TEMP.TXT"));
}

TEST_F(DialogueTest, AnInterpreterThatCannotStartLeavesNoListing) {
  InstallEncoder();
  testsupport::SetEnvironment("COMSPEC", "");
  UseTail("HELLO");
  EXPECT_EQ(GeneratorMain(), 1);
  EXPECT_EQ(Row(5), "No Temp file created");
  EXPECT_EQ(memcon::Cell(0, 5).attributes, 7);
}

TEST_F(DialogueTest, ALeftOverListingPassesTheCheckEvenWhenTheEncoderCannotRun) {
  InstallEncoder();
  testsupport::SetEnvironment("COMSPEC", "");
  WriteFile("JT65TEMP.TXT", std::string("Channel symbols\r\n  7\r\nDecoded: OLD\r\n"));
  UseTail("NEW");
  Type(u"");
  EXPECT_EQ(GeneratorMain(), 0);
  EXPECT_EQ(Include("JT65SYMB.INC"), "\r\n    de   d'07'\r\n    ;    OLD\r\n");
  EXPECT_FALSE(Exists("JT65TEMP.TXT"));
}

TEST_F(DialogueTest, AListingWithoutSymbolsIsAFailureAndLeavesNoIncludeFile) {
  InstallEncoder();
  for (const char* mode : {"usage", "nothing", "cut"}) {
    testsupport::SetEnvironment("QUORVEL_FAKE_ENCODER", mode);
    memcon::Reset(80, 40);
    SetUpConsole();
    UseTail("HELLO");
    Type(u"");
    EXPECT_EQ(GeneratorMain(), 1) << mode;
    EXPECT_FALSE(Exists("JT65SYMB.INC")) << mode;
    EXPECT_FALSE(Exists("JT65TEMP.TXT")) << mode;
    std::vector<std::string> rows = Rows(0);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.back(), std::string(mode) == "cut"
                               ? "The encoder listing ends before the decoded message"
                               : "No channel symbols in the encoder listing");
    EXPECT_EQ(memcon::Cell(0, static_cast<int>(rows.size()) - 1).attributes, 12);
  }
}

TEST_F(DialogueTest, AnEncoderExitCodeIsNoFailure) {
  InstallEncoder();
  testsupport::SetEnvironment("QUORVEL_FAKE_ENCODER", "exit1");
  UseTail("CQ K1ABC FN42");
  Type(u"");
  EXPECT_EQ(GeneratorMain(), 0);
  EXPECT_EQ(Include("JT65SYMB.INC"), kInclude);
}

TEST_F(DialogueTest, ADestinationThatCannotBeWrittenIsReportedAndKept) {
  InstallEncoder();
  WriteFile("RO.INC", "precious");
  MakeReadOnly("RO.INC");
  UseTail("CQ K1ABC FN42");
  Type(u"RO.INC");
  EXPECT_EQ(GeneratorMain(), 1);
  EXPECT_EQ(ReadFile("RO.INC"), "precious");
  EXPECT_EQ(Rows(0).back(), "Cannot open RO.INC for writing");
  EXPECT_EQ(Row(9),
            "    de   d'41', d'26', d'52', d'55', d'27', d'48', d'25', d'00'");  // still echoed
  EXPECT_FALSE(Exists("JT65TEMP.TXT"));
}

pf::Handle heldListing = pf::kInvalidHandle;

TEST_F(DialogueTest, AListingHeldByAnotherOpenFailsAndLeavesTheIncludeFileAlone) {
  InstallEncoder();
  WriteFile("JT65SYMB.INC", "last run");
  UseTail("CQ K1ABC FN42");
  Type(u"");
  // While the destination prompt waits, something else takes the listing for itself.
  memcon::SetSleepHook([] {
    if (heldListing == pf::kInvalidHandle)
      heldListing =
          pf::CreateFileW(u"JT65TEMP.TXT", pf::kGenericRead, 0, false, pf::kOpenExisting, 0);
  });
  EXPECT_EQ(GeneratorMain(), 1);
  memcon::SetSleepHook(nullptr);
  ASSERT_NE(heldListing, pf::kInvalidHandle);
  pf::CloseHandle(heldListing);
  EXPECT_EQ(Rows(0).back(), "Cannot read the encoder listing JT65TEMP.TXT");
  EXPECT_EQ(Include("JT65SYMB.INC"), "last run");
}

TEST_F(DialogueTest, TheListingItselfAsDestinationFailsWithoutHarmingIt) {
  InstallEncoder();
  UseTail("CQ K1ABC FN42");
  Type(u"JT65TEMP.TXT");
  EXPECT_EQ(GeneratorMain(), 1);
  EXPECT_EQ(Rows(0).back(), "Cannot open JT65TEMP.TXT for writing");
  EXPECT_FALSE(Exists("JT65TEMP.TXT"));
}

}  // namespace
