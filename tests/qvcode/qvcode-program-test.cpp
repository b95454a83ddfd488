// qvcode run as a script runs it: its JT65 "de" file against the generator's own include file, and
// every kind of bad input with its message, its exit code and no output file left behind.
#include <algorithm>
#include <filesystem>

#include "tests/qvcode/qvcode-run.h"
#include "tests/support/temp-folder.h"

namespace {

namespace fs = std::filesystem;
using qvcodetest::RunQvcode;
using testsupport::ShellQuote;

class QvcodeProgramTest : public testsupport::TempFolderTest {
 protected:
  // Everything in the test's folder: a failed run must not have left a file or a temporary one.
  static std::vector<std::string> Files() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator("."))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(QvcodeProgramTest, JT65DeIsTheGeneratorsIncludeFileByteForByte) {
  std::string bin = testsupport::BinFolder();
  for (const char* program : {"quorvel", "qcmd", "JT65CODE.EXE"})
    fs::copy_file(bin + "/" + program, program);
  testsupport::ClearEnvironment("COMSPEC");
  for (std::string message : {"CQ K1ABC FN42", "K1A W9X R-15", "TNX BOB 73 GL", "CQ PJ4/K1ABC",
                              "hello world", "DE G0XYZ/7", "0123456789+-."}) {
    SCOPED_TRACE(message);
    fs::remove("JT65SYMB.INC");
    std::string run = "setsid -w ./quorvel " + ShellQuote(message) + " </dev/null >/dev/null 2>&1";
    ASSERT_EQ(std::system(run.c_str()), 0);
    std::string include = ReadFile("JT65SYMB.INC");
    ASSERT_FALSE(include.empty());
    qvcodetest::Result result = RunQvcode(ShellQuote(message));
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, include);
    // The same bytes through --output, and again over the file already there.
    for (int pass = 0; pass < 2; ++pass) {
      EXPECT_EQ(RunQvcode("--mode jt65a --format=de -o table.inc " + ShellQuote(message)).exitCode,
                0);
      EXPECT_EQ(ReadFile("table.inc"), include);
    }
  }
}

TEST_F(QvcodeProgramTest, UsageErrorsExitTwoWithTheirMessageAndWriteNothing) {
  WriteFile("empty.txt", "# only a comment\n\n   \n");
  struct Case {
    std::string arguments;
    std::string message;
  };
  const Case cases[] = {
      {"--mode xyz A", "unknown mode \"xyz\" (modes: jt65"},
      {"-m jt65d A", "unknown mode \"jt65d\""},
      {"--format pdf A", "unknown format \"pdf\" (formats: de, dt, c, hex, eep, list, json)"},
      {"--sequence bits A", "unknown sequence \"bits\""},
      {"--target 18f4550 A", "unknown target \"18f4550\" (targets: 12f629"},
      {"--bogus A", "unknown option --bogus"},
      {"-x A", "unknown option -x"},
      {"--pack=yes A", "--pack takes no value"},
      {"A --mode", "--mode needs a value"},
      {"-o", "--output needs a value"},
      {"", "no message (give one or more, or --schedule FILE)"},
      {"--mode jt65 --submode Z A", "mode jt65 has no submode Z (submodes: ABC)"},
      {"--mode jt65b --submode C A", "--submode C and --mode name different submodes"},
      {"--submode BB A", "--submode takes one letter"},
      {"-f hex --address 0xZZ A", "--address takes a number"},
      {"-f de --address 0x2100 A", "--address is for --format hex or eep"},
      {"-f de --progmem A", "--progmem is for --format c"},
      {"-f c --name 9LIVES A", "--name takes a C identifier"},
      {"-f dt -t attiny85 A", "--format dt is for PIC chips; the ATtiny85 is an AVR"},
      {"--schedule missing.txt", "missing.txt cannot be read: no such file"},
      {"--schedule empty.txt", "the schedule empty.txt holds no message"},
      {"--schedule empty.txt A", "give messages or --schedule, not both"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    qvcodetest::Result result = RunQvcode("-o out.inc " + c.arguments);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("qvcode: " + c.message), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("Try 'qvcode --help'."), std::string::npos);
    EXPECT_TRUE(result.out.empty());
    EXPECT_EQ(Files(), std::vector<std::string>{"empty.txt"});
  }
}

TEST_F(QvcodeProgramTest, WavWritesOneMessagesWholePeriodOrNothing) {
  const std::pair<std::string, std::string> usage[] = {
      {"--wav a.wav A B", "--wav writes the audio of one message: give exactly one"},
      {"--wav a.wav -f c A", "--wav writes audio, not a table: leave out --format"},
      {"--wav a.wav -o a.inc A", "--wav writes audio, not a table"},
      {"--frequency 1000 A", "--snr and --seed are for --wav, --frequency for --wav or --synth"},
      {"--snr -10 A", "--snr and --seed are for --wav, --frequency for --wav or --synth"},
      {"--wav a.wav --frequency 0 A", "--frequency takes the audio frequency in Hz, above 0"},
      {"--wav a.wav --frequency 1e3 A", "--frequency takes the audio frequency in Hz"},
      {"--wav a.wav --snr loud A", "--snr takes a signal to noise ratio in dB"},
      {"--wav a.wav --snr 99 A", "--snr takes a signal to noise ratio in dB, from -60 to 60"},
      {"--wav a.wav --seed -1 A", "--seed takes a number"},
      {"--wav= A", "--wav takes a file name"},
  };
  for (const auto& [arguments, message] : usage) {
    SCOPED_TRACE(arguments);
    qvcodetest::Result result = RunQvcode(arguments);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("qvcode: " + message), std::string::npos) << result.err;
    EXPECT_TRUE(Files().empty());
  }
  // JT65C's 66 tones from 5900 Hz do not fit below 6000 Hz.
  qvcodetest::Result high = RunQvcode("-m jt65c --wav a.wav --frequency 5900 'CQ K1ABC FN42'");
  EXPECT_EQ(high.exitCode, 1);
  EXPECT_NE(high.err.find("qvcode: cannot render \"CQ K1ABC FN42\" as audio: its tones would lie "
                          "from 5900.0 to 6599.8 Hz"),
            std::string::npos)
      << high.err;
  EXPECT_TRUE(Files().empty());

  // A whole period: 60 s for JT65, 120 s for WSPR; the same seed gives the same file.
  ASSERT_EQ(RunQvcode("--wav a.wav --snr -10 --seed 5 'CQ K1ABC FN42'").exitCode, 0);
  ASSERT_EQ(RunQvcode("--wav b.wav --snr -10 --seed 5 'CQ K1ABC FN42'").exitCode, 0);
  EXPECT_EQ(ReadFile("a.wav").size(), 44u + 2 * 60 * 12000);
  EXPECT_EQ(ReadFile("a.wav"), ReadFile("b.wav"));
  ASSERT_EQ(RunQvcode("-m wspr --wav c.wav 'K1ABC FN42 37'").exitCode, 0);
  EXPECT_EQ(ReadFile("c.wav").size(), 44u + 2 * 120 * 12000);
}

TEST_F(QvcodeProgramTest, AMessageThatCannotBeSentFailsTheRunAndLeavesTheOldFile) {
  WriteFile("out.inc", "the old table\n");
  qvcodetest::Result result = RunQvcode("-o out.inc 'CQ K1ABC FN42' RRR 'TNX 73'");
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err,
            "qvcode: cannot encode \"RRR\" in jt65\n"
            "qvcode: a shorthand message (RO, RRR, 73) is sent as two tones and has no channel "
            "symbols\n");
  EXPECT_EQ(ReadFile("out.inc"), "the old table\n");
  EXPECT_EQ(Files(), std::vector<std::string>{"out.inc"});
}

TEST_F(QvcodeProgramTest, ASchedulesFailingLineIsNamedByNumber) {
  WriteFile("beacon.txt", "# morning\nCQ K1ABC FN42\r\n\n  # evening\nRO\nTNX BOB 73 GL\n");
  qvcodetest::Result result = RunQvcode("--schedule beacon.txt -o out.inc");
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("qvcode: beacon.txt line 5: cannot encode \"RO\" in jt65\n"),
            std::string::npos)
      << result.err;
  EXPECT_EQ(Files(), std::vector<std::string>{"beacon.txt"});
}

TEST_F(QvcodeProgramTest, AScheduleFromAFileOrStandardInputGivesWhatTheArgumentsGive) {
  WriteFile("beacon.txt", "# two messages\nCQ K1ABC FN42\r\n\nTNX BOB 73 GL\n");
  qvcodetest::Result arguments = RunQvcode("-f list 'CQ K1ABC FN42' 'TNX BOB 73 GL'");
  ASSERT_EQ(arguments.exitCode, 0);
  EXPECT_EQ(std::count(arguments.out.begin(), arguments.out.end(), '\n'), 2);
  EXPECT_EQ(RunQvcode("-f list --schedule beacon.txt").out, arguments.out);
  EXPECT_EQ(RunQvcode("-f list --schedule -", "beacon.txt").out, arguments.out);
}

TEST_F(QvcodeProgramTest, AnUnwritableOutputFailsTheRunAndLeavesNoFile) {
  fs::create_directory("folder");
  qvcodetest::Result missing = RunQvcode("-o nowhere/out.inc 'CQ K1ABC FN42'");
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.err, "qvcode: nowhere/out.inc cannot be written: no such folder\n");
  qvcodetest::Result folder = RunQvcode("-o folder 'CQ K1ABC FN42'");
  EXPECT_EQ(folder.exitCode, 1);
  EXPECT_EQ(folder.err, "qvcode: folder cannot be written: is a folder\n");
  EXPECT_EQ(Files(), std::vector<std::string>{"folder"});
  EXPECT_TRUE(fs::is_empty("folder"));
  qvcodetest::Result full = RunQvcode("-o /dev/full/x 'CQ K1ABC FN42'");
  EXPECT_EQ(full.exitCode, 1);
  std::string bin = testsupport::BinFolder();
  int status = std::system((bin + "/qvcode 'CQ K1ABC FN42' >/dev/full 2>err.txt").c_str());
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_EQ(ReadFile("err.txt"), "qvcode: standard output cannot be written: the disk is full\n");
}

TEST_F(QvcodeProgramTest, ARunTooBigForTheTargetIsRefusedWithTheSizes) {
  qvcodetest::Result result = RunQvcode("-t pic16f84a -o out.inc 'CQ K1ABC FN42' 'TNX BOB 73 GL'");
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err,
            "qvcode: does not fit: the 2 messages need 126 bytes of data EEPROM, and the PIC16F84A "
            "has 64 bytes\n");
  EXPECT_EQ(Files(), std::vector<std::string>{});
  // Packed, six bits a symbol, the same two take 2 x 48 bytes: still too many; one fits.
  EXPECT_NE(RunQvcode("-t 16f84a -p A B").err.find("need 96 bytes"), std::string::npos);
  EXPECT_EQ(RunQvcode("-t 16f84a -p A").exitCode, 0);
  // A dt table takes a RETLW word of program memory a byte: 17 messages are 1071 words.
  std::string seventeen;
  for (int i = 0; i < 17; ++i) seventeen += " TEST" + std::to_string(i);
  EXPECT_EQ(RunQvcode("-f dt -t 16f84a" + seventeen).err,
            "qvcode: does not fit: the 17 messages need 1071 words of program memory, and the "
            "PIC16F84A has 1024 words\n");
  EXPECT_EQ(RunQvcode("-f dt -t 16f628a" + seventeen).exitCode, 0);
}

// Packed at two bits a tone, a WSPR message's 162 tones take 41 bytes: three fit the 128 bytes of
// a PIC16F628A's EEPROM, four do not.
TEST_F(QvcodeProgramTest, ThreePackedWsprMessagesFitAPic16f628a) {
  if (modes::FindMode("wspr") == nullptr) GTEST_SKIP() << "WSPR is not in the encoder library yet";
  std::string three =
      "-m wspr --sequence tones -p -t 16f628a -f hex 'K1ABC FN42 37' "
      "'W9XYZ EN37 30' 'G0XYZ IO91 23'";
  qvcodetest::Result fits = RunQvcode("-v " + three);
  EXPECT_EQ(fits.exitCode, 0) << fits.err;
  EXPECT_NE(fits.err.find("\"K1ABC FN42 37\": 41 bytes (162 values)"), std::string::npos)
      << fits.err;
  qvcodetest::Result four = RunQvcode(three + " 'JA1XYZ PM95 10'");
  EXPECT_EQ(four.exitCode, 1);
  EXPECT_EQ(four.err,
            "qvcode: does not fit: the 4 messages need 164 bytes of data EEPROM, and the "
            "PIC16F628A has 128 bytes\n");
}

TEST_F(QvcodeProgramTest, VerboseCountsTheBytesAndNamesTheChipsThatHoldThem) {
  qvcodetest::Result result = RunQvcode("-v -p -f hex 'CQ K1ABC FN42' 'TNX BOB 73 GL' 'QRV'");
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_NE(result.err.find("JT65A_SYMBOLS_1 \"CQ K1ABC FN42\": 48 bytes (63 values)"),
            std::string::npos)
      << result.err;
  EXPECT_NE(result.err.find("3 messages: 144 bytes of data EEPROM in all"), std::string::npos);
  EXPECT_NE(result.err.find("fits the data EEPROM of PIC16F648A (256 bytes)"), std::string::npos);
  EXPECT_NE(result.err.find("too big for PIC12F629 (128 bytes)"), std::string::npos);
}

// The plain formats carry the reference tool's numbers for every mode: list a line a message, JSON
// both sequences with the decoded text.
TEST_F(QvcodeProgramTest, ListAndJsonHoldTheReferenceValuesOfEveryMode) {
  for (const modes::ModeInfo& mode : modes::AllModes()) {
    NEED_REFERENCE_TOOL(mode.mode);
    for (const std::string& message : qvcodetest::SamplesOf(mode)) {
      SCOPED_TRACE(std::string(mode.name) + " " + message);
      auto numbers = [](const std::vector<int>& values, const char* separator) {
        std::string text;
        for (size_t i = 0; i < values.size(); ++i)
          text += (i == 0 ? "" : separator) + std::to_string(values[i]);
        return text;
      };
      std::vector<int> symbols = qvcodetest::ExpectedValues(mode, message, false);
      std::vector<int> tones = qvcodetest::ExpectedValues(mode, message, true);
      std::string options = "-m " + std::string(mode.name) + " " + ShellQuote(message);
      EXPECT_EQ(RunQvcode("-f list " + options).out, numbers(symbols, " ") + "\n");
      EXPECT_EQ(RunQvcode("-f list --sequence tones " + options).out, numbers(tones, " ") + "\n");
      std::string json = RunQvcode("-f json " + options).out;
      EXPECT_NE(json.find("\"symbols\": [" + numbers(symbols, ",") + "]"), std::string::npos);
      EXPECT_NE(json.find("\"tones\": [" + numbers(tones, ",") + "]"), std::string::npos);
      // q65code prints no decoded text; ft8code shows what the same 77 bits read as.
      modes::Mode decoder = mode.mode == modes::Mode::kQ65 ? modes::Mode::kFt8 : mode.mode;
      EXPECT_NE(json.find("\"decoded\": \"" +
                          testsupport::RunReferenceTool(decoder, message).decoded + "\""),
                std::string::npos)
          << json;
    }
  }
}

TEST_F(QvcodeProgramTest, HelpAndVersion) {
  qvcodetest::Result help = RunQvcode("--help");
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.out.rfind("Usage: qvcode [OPTIONS] MESSAGE...\n", 0), 0u);
  for (const modes::ModeInfo& mode : modes::AllModes())
    EXPECT_NE(help.out.find("    " + std::string(mode.name)), std::string::npos) << mode.name;
  qvcodetest::Result version = RunQvcode("-V");
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out.rfind("qvcode (Quorvel) ", 0), 0u);
}

}  // namespace
