// What qvcode puts on the air and on disk is what the user asked for: every change a mode makes is
// said (and refused with --strict), input is read as written and shown safely, and -o writes only
// where it is told, whatever is there.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

#include "tests/qvcode/qvcode-run.h"
#include "tests/support/temp-folder.h"

namespace {

namespace fs = std::filesystem;
using qvcodetest::RunQvcode;

using QvcodeTrustTest = testsupport::TempFolderTest;

TEST_F(QvcodeTrustTest, WhatAModeChangesIsAWarningAndStrictRefusesIt) {
  struct Case {
    std::string arguments;
    std::string said;  // the warning line, after "qvcode: warning: "
  };
  const Case cases[] = {
      {"'CQ 3DA0XYZ KG32'", "\"CQ 3DA0XYZ KG32\" in jt65: sent as"},
      {"-m ft8 'CQ K1ABC FN42 EXTRA'", "\"CQ K1ABC FN42 EXTRA\" in ft8: "},
      {"'THIS MESSAGE IS FAR TOO LONG FOR JT65'",
       "\"THIS MESSAGE IS FAR TOO LONG FOR JT65\" in jt65: cut to 22 characters"},
      {"-m wspr 'K1ABC FN42 38'", "\"K1ABC FN42 38\" in wspr: power 38 dBm"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    qvcodetest::Result loose = RunQvcode("-f json " + c.arguments);
    EXPECT_EQ(loose.exitCode, 0) << loose.err;
    EXPECT_NE(loose.err.find("qvcode: warning: " + c.said), std::string::npos) << loose.err;
    EXPECT_EQ(loose.out.find("\"notes\": []"), std::string::npos) << "the JSON carries the note";
    qvcodetest::Result strict = RunQvcode("--strict -o t.json " + c.arguments);
    EXPECT_EQ(strict.exitCode, 1);
    EXPECT_NE(strict.err.find("qvcode: refused: " + c.said), std::string::npos) << strict.err;
    EXPECT_FALSE(fs::exists("t.json"));
  }
  // A message that leaves nothing to send is refused in every mode.
  for (const char* mode : {"jt65", "jt9", "jt4", "wspr", "ft8", "ft4"}) {
    for (const char* empty : {"''", "'É€'"}) {
      qvcodetest::Result result = RunQvcode(std::string("-m ") + mode + " " + empty);
      EXPECT_EQ(result.exitCode, 1) << mode << " " << empty;
      EXPECT_TRUE(result.out.empty());
    }
  }
}

TEST_F(QvcodeTrustTest, InputIsReadAsWrittenAndShownSafely) {
  // Line ends of every kind and Notepad's byte-order mark: three messages, each on its line.
  const std::string expected = RunQvcode("-f list A1 B2 C3").out;
  for (const std::string schedule : {"\xEF\xBB\xBF"
                                     "A1\r\nB2\r\nC3\r\n",
                                     "A1\rB2\rC3", "A1\nB2\r\n\rC3\n"}) {
    WriteFile("s.txt", schedule);
    qvcodetest::Result result = RunQvcode("-f list --schedule s.txt");
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, expected);
  }
  // Bytes that are not text are refused in every mode, with the line and the byte.
  const std::pair<std::string, std::string> faults[] = {
      {std::string("A1\nB\0C\n", 7), "line 2 holds byte 0x00 (NUL)"},
      {"A1\nB2\nC\x1b[2J\n", "line 3 holds byte 0x1B (a control character)"},
      {"A\xff\n", "line 1 holds byte 0xFF, which is not UTF-8 text"},
  };
  for (const char* mode : {"jt65", "jt9", "jt4", "wspr", "ft8", "ft4"}) {
    for (const auto& [schedule, said] : faults) {
      WriteFile("s.txt", schedule);
      qvcodetest::Result result = RunQvcode(std::string("-m ") + mode + " --schedule s.txt");
      EXPECT_EQ(result.exitCode, 2) << mode;
      EXPECT_NE(result.err.find("qvcode: s.txt " + said), std::string::npos) << result.err;
    }
  }
  // A message's control characters never reach a terminal raw; JSON stays valid UTF-8.
  qvcodetest::Result escape = RunQvcode("-m wspr \"$(printf 'K1ABC\\033[2J FN42 37')\"");
  EXPECT_EQ(escape.err.find('\x1b'), std::string::npos) << escape.err;
  EXPECT_NE(escape.err.find("K1ABC\\x1B[2J"), std::string::npos) << escape.err;
  qvcodetest::Result json = RunQvcode("-f json \"$(printf 'CQ \\377\\001 K1ABC')\"");
  EXPECT_NE(json.out.find("\"CQ \\u00ff\\u0001 K1ABC\""), std::string::npos) << json.out;
  // A refusal quotes the word as typed, not a cut of it.
  EXPECT_NE(RunQvcode("-m wspr 'CQ K1ABC FN42'").err.find("\"K1ABC\" is not a 4-character grid"),
            std::string::npos);
  // Option words in any case, a + sign, numbers by their value.
  for (const char* same : {"-f DE --sequence TONES A", "--format de --sequence tones A"})
    EXPECT_EQ(RunQvcode(same).out, RunQvcode("-f de --sequence tones A").out);
  EXPECT_EQ(RunQvcode("--wav a.wav --snr +5 --seed 00000000001 A").exitCode, 0);
  EXPECT_EQ(RunQvcode("--wav b.wav --snr 5 --seed 1 A").exitCode, 0);
  EXPECT_EQ(ReadFile("a.wav"), ReadFile("b.wav"));
  EXPECT_EQ(RunQvcode("--wav c.wav --seed 100000000 A").exitCode, 0);
}

TEST_F(QvcodeTrustTest, TheTargetAndAddressAreChecked) {
  const std::pair<std::string, std::string> refused[] = {
      {"-t atmega328p -f eep -a 1000 A",
       "does not fit: the 1 message needs 63 bytes of data EEPROM from byte 1000 on"},
      {"-t 16f628a -f hex -a 0x2170 A", "from byte 112 on, and the PIC16F628A has 128 bytes"},
      {"-m wspr --sequence tones -f c -t attiny13a 'K1ABC FN42 37'",
       "needs 162 bytes of RAM, and the ATtiny13A has 64 bytes (--progmem puts C arrays in flash)"},
  };
  for (const auto& [arguments, said] : refused) {
    qvcodetest::Result result = RunQvcode(arguments);
    EXPECT_EQ(result.exitCode, 1) << arguments;
    EXPECT_NE(result.err.find(said), std::string::npos) << result.err;
  }
  const std::pair<std::string, std::string> usage[] = {
      {"-f hex -a 0 A", "--address 0 lies below the PIC data EEPROM"},
      {"-f eep -t 16f628a A", "--format eep is for AVR chips; the PIC16F628A is a PIC"},
      {"-f c --progmem -t 16f628a A", "--progmem is AVR flash; the PIC16F628A is a PIC"},
  };
  for (const auto& [arguments, said] : usage) {
    qvcodetest::Result result = RunQvcode(arguments);
    EXPECT_EQ(result.exitCode, 2) << arguments;
    EXPECT_NE(result.err.find("qvcode: " + said), std::string::npos) << result.err;
  }
}

TEST_F(QvcodeTrustTest, OutputGoesWhereItIsToldAndOnlyThere) {
  const std::string table = RunQvcode("A").out;
  // A link: its target is replaced, the link stays; permission bits stay.
  WriteFile("real.inc", "old");
  chmod("real.inc", 0640);
  fs::create_symlink("real.inc", "link.inc");
  ASSERT_EQ(RunQvcode("-o link.inc A").exitCode, 0);
  EXPECT_TRUE(fs::is_symlink("link.inc"));
  EXPECT_EQ(ReadFile("real.inc"), table);
  struct stat status;
  ASSERT_EQ(stat("real.inc", &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640u);
  // A FIFO is written, not replaced.
  ASSERT_EQ(mkfifo("pipe", 0600), 0);
  std::string read;
  std::thread reader([&] { read = ReadFile("pipe"); });
  EXPECT_EQ(RunQvcode("-o pipe A").exitCode, 0);
  reader.join();
  EXPECT_EQ(read, table);
  EXPECT_TRUE(fs::is_fifo("pipe"));
  // A folder is refused in words; - is standard output.
  fs::create_directory("folder");
  qvcodetest::Result folder = RunQvcode("-o folder A");
  EXPECT_EQ(folder.exitCode, 1);
  EXPECT_NE(folder.err.find("folder cannot be written: is a folder"), std::string::npos);
  EXPECT_EQ(RunQvcode("-o - A").out, table);
  EXPECT_EQ(RunQvcode("--wav - A").out.substr(0, 4), "RIFF");
  // Past the file size limit: said in words, and no temporary file stays.
  qvcodetest::Result large =
      RunQvcode("-m wspr --wav big.wav 'K1ABC FN42 37'; ulimit -f 1; " + testsupport::BinFolder() +
                "/qvcode -m wspr --wav big.wav " + "'K1ABC FN42 37'");
  EXPECT_NE(large.err.find("big.wav cannot be written: the file is too large"), std::string::npos)
      << large.err;
  for (const auto& entry : fs::directory_iterator("."))
    EXPECT_EQ(entry.path().filename().string().find(".qvcode-"), std::string::npos);
  EXPECT_EQ(ReadFile("big.wav").size(), 44u + 2 * 120 * 12000);
  EXPECT_FALSE(fs::exists("-"));
}

}  // namespace
