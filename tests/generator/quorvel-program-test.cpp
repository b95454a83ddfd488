// The real programs run from a copy of the build folder with no terminal at all, as a script or a
// build system would run them: the include file, the exit code, and every way a run can fail.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/support/cq-k1abc-fn42.h"
#include "tests/support/environment.h"
#include "tests/support/needs-tool.h"
#include "tests/support/reference-tools.h"
#include "tests/support/sanitizers.h"
#include "tests/support/shell.h"
#include "tests/support/temp-folder.h"

#ifndef _WIN32

namespace {

namespace fs = std::filesystem;
using testsupport::ShellQuote;

using testsupport::BinFolder;

class ProgramTest : public testsupport::TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    for (const char* program : {"quorvel", "qcmd"})
      fs::copy_file(BinFolder() + "/" + program, program);
    testsupport::ClearEnvironment("COMSPEC");
    testsupport::SetEnvironment("QUORVEL_FAKE_ENCODER", "listing");
  }
  void UseRealEncoder() { fs::copy_file(BinFolder() + "/JT65CODE.EXE", "JT65CODE.EXE"); }
  void UseFakeEncoder(const std::string& mode) {
    fs::copy_file(BinFolder() + "/fake-encoder", "JT65CODE.EXE",
                  fs::copy_options::overwrite_existing);
    testsupport::SetEnvironment("QUORVEL_FAKE_ENCODER", mode);
  }
  // Runs quorvel in its own session, so it has no controlling terminal; gives its exit code and
  // keeps what it printed on its standard streams.
  int Run(const std::string& arguments) {
    std::string command =
        "setsid -w ./quorvel " + arguments + " </dev/null >stdout.txt 2>stderr.txt";
    int status = std::system(command.c_str());
    output_ = ReadFile("stdout.txt") + ReadFile("stderr.txt");
    fs::remove("stdout.txt");
    fs::remove("stderr.txt");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  static std::vector<std::string> Entries(const std::string& include) {
    std::vector<std::string> entries;
    for (size_t at = include.find("d'"); at != std::string::npos; at = include.find("d'", at + 1))
      entries.push_back(include.substr(at + 2, 2));
    return entries;
  }
  std::string output_;
};

TEST_F(ProgramTest, AScriptedRunWithoutATerminalWritesTheDefaultIncludeFile) {
  UseRealEncoder();
  EXPECT_EQ(Run("CQ K1ABC FN42"), 0);
  std::string include = ReadFile("JT65SYMB.INC");
  std::vector<std::string> entries = Entries(include);
  ASSERT_EQ(entries.size(), 63u);
  EXPECT_EQ(entries[0], "41");
  EXPECT_EQ(entries[62], "60");
  EXPECT_NE(include.find("\r\n    ;    CQ K1ABC FN42"), std::string::npos);
  EXPECT_FALSE(Exists("JT65TEMP.TXT"));
  EXPECT_EQ(output_, "");  // without a terminal nothing is shown anywhere
}

TEST_F(ProgramTest, AFolderWithBlanksAndALongPathIsAWorkingFolder) {
  // The folder's path is 300 characters long and holds blanks: the programs are copied there
  // and run there, with no command interpreter set.
  fs::path folder = dir_ / "my beacons";
  std::string filler = "a folder with a long name ";
  while (folder.string().size() + 1 + filler.size() < 300) filler += "x";
  folder /= filler.substr(0, 300 - folder.string().size() - 1);
  ASSERT_EQ(folder.string().size(), 300u);
  fs::create_directories(folder);
  for (const char* program : {"quorvel", "qcmd", "JT65CODE.EXE"})
    fs::copy_file(BinFolder() + "/" + program, folder / program);
  fs::current_path(folder);
  EXPECT_EQ(Run("CQ K1ABC FN42"), 0) << output_;
  EXPECT_EQ(ReadFile("JT65SYMB.INC"), testsupport::kInclude);
  EXPECT_FALSE(Exists("JT65TEMP.TXT"));
}

TEST_F(ProgramTest, TheMessageMayComeQuotedOrAsSeparateWords) {
  UseRealEncoder();
  EXPECT_EQ(Run("'CQ K1ABC FN42'"), 0);
  std::string quoted = ReadFile("JT65SYMB.INC");
  EXPECT_EQ(Run("cq k1abc fn42"), 0);
  EXPECT_EQ(ReadFile("JT65SYMB.INC"), quoted);
}

TEST_F(ProgramTest, AMessageThatBreaksTheQuotingRunsNothingElse) {
  UseFakeEncoder("args");
  EXPECT_EQ(Run(ShellQuote("A\" & touch X & \"")), 1);  // the argument list is no listing
  EXPECT_FALSE(Exists("X"));
  EXPECT_FALSE(Exists("JT65TEMP.TXT"));
}

// Characters a command interpreter acts on, and a backslash before the closing quote: the include
// file holds the symbols Debian's jt65code gives for the message as typed (upper-cased, cut to
// 13), and nothing but the encoder runs.
TEST_F(ProgramTest, MessagesWithInterpreterCharactersAreEncodedAsTyped) {
  NEED_REFERENCE_TOOL(modes::Mode::kJt65);
  UseRealEncoder();
  std::vector<std::string> typed = {"CQ K1ABC%",
                                    "CQ K1ABC\"",
                                    "CQ K1ABC&",
                                    "CQ K1ABC|",
                                    "CQ K1ABC<",
                                    "CQ K1ABC>",
                                    "CQ K1ABC^",
                                    "\"CQ K1ABC\"",
                                    "50% off",
                                    "%PATH%",
                                    "%OS%&MD X",
                                    "X<Y>Z",
                                    "a\" & touch X & \"",
                                    "2^8 A|B",
                                    "K1A W9X -15%",
                                    "CQ K1ABC\\",
                                    "AB\\\\",
                                    "\"\"\"",
                                    "%%%%"};
  std::vector<std::string> messages;
  for (std::string message : typed) {
    message = message.substr(0, 13);
    for (char& c : message) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    messages.push_back(message);
  }
  std::vector<testsupport::ToolEncoding> reference =
      testsupport::RunReferenceToolBatch(modes::Mode::kJt65, messages);
  for (size_t i = 0; i < typed.size(); ++i) {
    SCOPED_TRACE(typed[i]);
    ASSERT_TRUE(reference[i].ok) << reference[i].error;
    fs::remove("JT65SYMB.INC");
    EXPECT_EQ(Run(ShellQuote(typed[i])), 0) << output_;
    std::vector<int> symbols;
    for (const std::string& entry : Entries(ReadFile("JT65SYMB.INC")))
      symbols.push_back(std::stoi(entry));
    EXPECT_EQ(symbols, reference[i].symbols);
    EXPECT_FALSE(Exists("X"));
    EXPECT_FALSE(Exists("MD"));
    EXPECT_FALSE(Exists("JT65TEMP.TXT"));
  }
}

TEST_F(ProgramTest, EveryFailingEndGivesExitCodeOneAndLeavesNothingBehind) {
  // Without a terminal, the one-line reason goes to standard error.
  EXPECT_EQ(Run("HELLO"), 1);  // no encoder
  EXPECT_NE(output_.find("JT65CODE.EXE is not present"), std::string::npos) << output_;
  UseFakeEncoder("usage");
  EXPECT_EQ(Run("HELLO"), 1);
  UseFakeEncoder("nothing");
  EXPECT_EQ(Run("HELLO"), 1);
  EXPECT_NE(output_.find("No channel symbols in the encoder listing"), std::string::npos);
  UseFakeEncoder("cut");
  EXPECT_EQ(Run("HELLO"), 1);
  EXPECT_NE(output_.find("The encoder listing ends before the decoded message"), std::string::npos);
  EXPECT_FALSE(Exists("JT65SYMB.INC"));
  EXPECT_FALSE(Exists("JT65TEMP.TXT"));
  UseFakeEncoder("exit1");
  EXPECT_EQ(Run("HELLO"), 0);
  EXPECT_TRUE(Exists("JT65SYMB.INC"));
}

// Ended from outside while the encoder runs, the run still removes its listing.
TEST_F(ProgramTest, ARunEndedFromOutsideRemovesItsListing) {
  WriteFile("JT65CODE.EXE", "#!/bin/sh\n: > started\nexec sleep 3\n");
  fs::permissions("JT65CODE.EXE", fs::perms::owner_all);
  for (const char* signal : {"TERM", "HUP"}) {
    SCOPED_TRACE(signal);
    fs::remove("started");
    std::string run = std::string("setsid ./quorvel HELLO </dev/null >/dev/null 2>&1 & pid=$!; ") +
                      "while [ ! -f started ]; do sleep 0.02; done; kill -" + signal +
                      " $pid; while kill -0 $pid 2>/dev/null; do sleep 0.02; done";
    ASSERT_EQ(std::system(run.c_str()), 0);
    EXPECT_FALSE(Exists("JT65TEMP.TXT"));
  }
}

TEST_F(ProgramTest, FilesWhoseNamesDifferOnlyInLetterCaseAreTheUsers) {
  UseFakeEncoder("listing");
  WriteFile("jt65temp.txt", "the user's notes");
  EXPECT_EQ(Run("HELLO"), 0);
  EXPECT_FALSE(Exists("JT65TEMP.TXT"));
  EXPECT_EQ(ReadFile("jt65temp.txt"), "the user's notes");
  EXPECT_EQ(Entries(ReadFile("JT65SYMB.INC")).size(), 63u);

  // A run that fails removes its own include file, and only that.
  UseFakeEncoder("cut");
  WriteFile("jt65symb.inc", "the user's table");
  EXPECT_EQ(Run("HELLO"), 1);
  EXPECT_FALSE(Exists("JT65SYMB.INC"));
  EXPECT_EQ(ReadFile("jt65symb.inc"), "the user's table");
  EXPECT_EQ(ReadFile("jt65temp.txt"), "the user's notes");
}

TEST_F(ProgramTest, AnEmptyMessageEndsWithExitCodeZero) {
  UseFakeEncoder("listing");
  EXPECT_EQ(Run(""), 0);
  EXPECT_FALSE(Exists("JT65SYMB.INC"));
}

TEST_F(ProgramTest, AnInterpreterThatIsNotThereEndsTheRun) {
  UseFakeEncoder("listing");
  testsupport::SetEnvironment("COMSPEC", "/no/such/interpreter");
  EXPECT_EQ(Run("HELLO"), 1);
  testsupport::SetEnvironment("comspec", "");
  EXPECT_EQ(Run("HELLO"), 1);
  testsupport::ClearEnvironment("comspec");
  EXPECT_FALSE(Exists("JT65SYMB.INC"));
}

TEST_F(ProgramTest, DestinationsThatCannotBeWrittenAreReportedAndLeftAlone) {
  UseFakeEncoder("listing");
  fs::create_symlink("/dev/full", "JT65SYMB.INC");
  EXPECT_EQ(Run("HELLO"), 1);
  EXPECT_TRUE(fs::exists("/dev/full"));
  fs::remove("JT65SYMB.INC");

  fs::create_symlink("missing/folder.inc", "JT65SYMB.INC");
  EXPECT_EQ(Run("HELLO"), 1);
  fs::remove("JT65SYMB.INC");

  fs::create_directory("JT65SYMB.INC");
  EXPECT_EQ(Run("HELLO"), 1);
  EXPECT_TRUE(fs::is_directory("JT65SYMB.INC"));
  fs::remove("JT65SYMB.INC");

  WriteFile("JT65SYMB.INC", "kept");
  MakeReadOnly("JT65SYMB.INC");
  EXPECT_EQ(Run("HELLO"), 1);
  EXPECT_EQ(ReadFile("JT65SYMB.INC"), "kept");
  EXPECT_FALSE(Exists("JT65TEMP.TXT"));
}

TEST_F(ProgramTest, FilesHeldByAnotherProcessAreNotTouched) {
  NEED_TOOL("flock", "package util-linux");
  UseFakeEncoder("listing");
  WriteFile("JT65SYMB.INC", "held");
  ASSERT_EQ(std::system("flock JT65SYMB.INC sleep 3 & sleep 0.3"), 0);
  EXPECT_EQ(Run("HELLO"), 1);
  EXPECT_EQ(ReadFile("JT65SYMB.INC"), "held");
}

TEST_F(ProgramTest, AListingHeldByAnotherProcessEndsTheRunAndTouchesNoIncludeFile) {
  NEED_TOOL("flock", "package util-linux");
  // An encoder that prints its listing, then has another process hold it for a while (a shared
  // hold, as the interpreter still has the listing open for the encoder's output).
  WriteFile("JT65CODE.EXE",
            "#!/bin/sh\n"
            "printf 'Channel symbols, including FEC:\\r\\n   41 26 52\\r\\n"
            "Decoded message: HELD\\r\\n'\n"
            "flock -s JT65TEMP.TXT sh -c ': >HOLDING; exec sleep 3' >/dev/null 2>&1 &\n"
            "i=0; while [ ! -e HOLDING ] && [ $i -lt 200 ]; do sleep 0.05; i=$((i + 1)); done\n");
  fs::permissions("JT65CODE.EXE", fs::perms::owner_exec, fs::perm_options::add);
  WriteFile("JT65SYMB.INC", "kept");
  EXPECT_EQ(Run("HELD"), 1);
  EXPECT_TRUE(Exists("HOLDING"));
  EXPECT_EQ(ReadFile("JT65SYMB.INC"), "kept");
}

TEST_F(ProgramTest, NumbersInTheListingAreReadExactlyFromTheirDigits) {
  // Halves that an inexact product would round up, and a zero with a huge exponent. The scan goes
  // on two characters after each number's first digit, so every line gives its later digits too.
  WriteFile("JT65CODE.EXE",
            "#!/bin/sh\n"
            "printf 'Channel symbols\\r\\n2.50\\r\\n12.50\\r\\n250e-2\\r\\n0e5000\\r\\n"
            "Decoded message: EXACT\\r\\n'\n");
  fs::permissions("JT65CODE.EXE", fs::perms::owner_exec, fs::perm_options::add);
  EXPECT_EQ(Run("EXACT"), 0);
  EXPECT_EQ(Entries(ReadFile("JT65SYMB.INC")),
            (std::vector<std::string>{"02", "50", "12", "50", "02", "00", "02", "00", "50", "00"}));
}

TEST_F(ProgramTest, AHugeListingIsConvertedWholeInBoundedMemory) {
  SKIP_UNDER_ASAN("its shadow memory does not fit the address-space limit");
  // An encoder whose listing holds 750000 symbol lines of ordinary length (about 50 MB).
  WriteFile("JT65CODE.EXE",
            "#!/bin/sh\n"
            "printf 'Channel symbols\\r\\n'\n"
            "awk 'BEGIN { for (i = 0; i < 750000; i++) printf \"   41 26 52 55 27 48 25  0 44 36 "
            "18  3 37  9 51  6 23  2  9 54 53\\r\\n\" }'\n"
            "printf 'Decoded message: BIG\\r\\n'\n");
  fs::permissions("JT65CODE.EXE", fs::perms::owner_exec, fs::perm_options::add);
  std::string command =
      "setsid -w sh -c 'ulimit -v 200000; ./quorvel BIG' </dev/null >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_EQ(fs::file_size("JT65SYMB.INC"), 2u + 750000u * 21 / 8 * (8 + 8 * 6 + 7 + 2) + 14u);
  EXPECT_FALSE(Exists("JT65TEMP.TXT"));
}

}  // namespace

#endif
