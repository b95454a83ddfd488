// qvcode's files in their real consumers: "de" and "dt" assembled by gpasm for a PIC16F628A, the C
// header compiled by avr-gcc (PROGMEM, ATmega328P) and by sdcc, Intel HEX read by srecord. For
// every mode built, channel symbols and tone sequences, packed and not, the bytes read back from
// what the tool made must be the message's values (through the stated unpacking rule when packed);
// a synthesiser's rows compiled into flash must make, under the chip models, what the run states.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "tests/qvcode/qvcode-run.h"
#include "tests/qvcode/synthesiser-models.h"
#include "tests/support/intel-hex.h"
#include "tests/support/needs-tool.h"
#include "tests/support/temp-folder.h"

namespace {

using qvcodetest::RunQvcode;
using testsupport::ReadIntelHex;

struct Case {
  const modes::ModeInfo* mode;
  bool tones;
  bool packed;
  std::vector<std::string> messages;

  int Bits() const { return tones ? mode->toneBits : mode->symbolBits; }
  std::string Options() const {
    return std::string("--mode ") + std::string(mode->name) +
           (tones ? " --sequence tones" : " --sequence symbols") + (packed ? " --pack" : "") +
           " --schedule beacon.txt";
  }
  std::string Name() const {
    return std::string(mode->name) + (tones ? " tones" : " symbols") + (packed ? " packed" : "");
  }
};

// Every mode built, each with the first messages of its samples.
std::vector<Case> AllCases(size_t messagesEach) {
  std::vector<Case> cases;
  for (const modes::ModeInfo& mode : modes::AllModes()) {
    std::vector<std::string> samples = qvcodetest::SamplesOf(mode);
    if (samples.size() > messagesEach) samples.resize(messagesEach);
    for (bool tones : {false, true})
      for (bool packed : {false, true}) cases.push_back({&mode, tones, packed, samples});
  }
  return cases;
}

// The reference tool of every mode built.
#define NEED_REFERENCE_TOOLS() \
  for (const modes::ModeInfo& mode : modes::AllModes()) NEED_REFERENCE_TOOL(mode.mode)

int RunTool(const std::string& command) {
  int status = std::system((command + " >tool.txt 2>&1").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class QvcodeToolchainTest : public testsupport::TempFolderTest {
 protected:
  // Writes the case's schedule and runs qvcode on it; false when qvcode failed.
  bool Write(const Case& c, const std::string& formatOptions, const std::string& output) {
    std::string schedule = "# " + c.Name() + "\n";
    for (const std::string& message : c.messages) schedule += message + "\n";
    WriteFile("beacon.txt", schedule);
    qvcodetest::Result result = RunQvcode(c.Options() + " " + formatOptions + " -o " + output);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return result.exitCode == 0;
  }

  // The bytes read back, message after message, must be each message's values.
  static void CheckBytes(const Case& c, const std::vector<int>& bytes) {
    size_t offset = 0;
    for (const std::string& message : c.messages) {
      SCOPED_TRACE(message);
      std::vector<int> expected = qvcodetest::ExpectedValues(*c.mode, message, c.tones);
      ASSERT_FALSE(expected.empty());
      size_t length = c.packed ? (expected.size() * size_t(c.Bits()) + 7) / 8 : expected.size();
      ASSERT_LE(offset + length, bytes.size()) << "the table is short";
      std::vector<int> table(bytes.begin() + long(offset), bytes.begin() + long(offset + length));
      offset += length;
      EXPECT_EQ(c.packed ? qvcodetest::Unpack(table, c.Bits(), expected.size()) : table, expected);
    }
    EXPECT_EQ(offset, bytes.size()) << "bytes after the last table";
  }

  static std::vector<int> FileBytes(const std::string& name) {
    std::vector<int> bytes;
    for (char c : ReadFile(name)) bytes.push_back(static_cast<unsigned char>(c));
    return bytes;
  }

  // The EEPROM bytes of a PIC hex file from word address `word` on: one byte to a 16-bit word,
  // whose high byte must be 0.
  static std::vector<int> PicEeprom(const std::map<unsigned, int>& memory, unsigned word) {
    std::vector<int> bytes;
    for (auto at = memory.lower_bound(word * 2); at != memory.end(); ++at) {
      unsigned offset = at->first - word * 2;
      EXPECT_EQ(offset / 2, bytes.size() - (offset % 2 ? 1 : 0)) << "a gap in the EEPROM data";
      if (offset % 2 == 0) {
        bytes.push_back(at->second);
      } else {
        EXPECT_EQ(at->second, 0) << "the high byte of EEPROM word " << offset / 2;
      }
    }
    return bytes;
  }

  static constexpr size_t kMessagesEach = 3;
};

const char kEepromProgram[] =
    "        processor 16f628a\n"
    "        #include <p16f628a.inc>\n"
    "        org 0x0000\n"
    "        goto $\n"
    "        org 0x2100\n"
    "        #include \"TABLE.INC\"\n"
    "        end\n";

// The tables follow the first instruction, from word 1 on.
const char kProgramMemoryProgram[] =
    "        processor 16f628a\n"
    "        #include <p16f628a.inc>\n"
    "        org 0x0000\n"
    "        goto $\n"
    "        #include \"TABLE.INC\"\n"
    "        end\n";

TEST_F(QvcodeToolchainTest, GpasmAssemblesDeIntoThePicsDataEeprom) {
  NEED_TOOL("gpasm", "package gputils");
  NEED_REFERENCE_TOOLS();
  WriteFile("beacon.asm", kEepromProgram);
  for (const Case& c : AllCases(kMessagesEach)) {
    SCOPED_TRACE(c.Name());
    if (!Write(c, "--format de", "TABLE.INC")) continue;
    std::remove("beacon.hex");
    ASSERT_EQ(RunTool("gpasm beacon.asm"), 0) << ReadFile("tool.txt");
    CheckBytes(c, PicEeprom(ReadIntelHex(ReadFile("beacon.hex")), 0x2100));
  }
}

TEST_F(QvcodeToolchainTest, GpasmAssemblesDtIntoRetlwWordsOfProgramMemory) {
  NEED_TOOL("gpasm", "package gputils");
  NEED_REFERENCE_TOOLS();
  WriteFile("beacon.asm", kProgramMemoryProgram);
  constexpr int kRetlw = 0x34;  // RETLW k is the 14-bit word 0x34kk
  for (const Case& c : AllCases(kMessagesEach)) {
    SCOPED_TRACE(c.Name());
    if (!Write(c, "--format dt", "TABLE.INC")) continue;
    std::remove("beacon.hex");
    ASSERT_EQ(RunTool("gpasm beacon.asm"), 0) << ReadFile("tool.txt");
    std::map<unsigned, int> memory = ReadIntelHex(ReadFile("beacon.hex"));
    std::vector<int> bytes;
    for (unsigned word = 1; memory.count(word * 2) != 0 && word < 0x2000; ++word) {
      EXPECT_EQ(memory[word * 2 + 1], kRetlw) << "word " << word;
      bytes.push_back(memory[word * 2]);
    }
    CheckBytes(c, bytes);
  }
}

TEST_F(QvcodeToolchainTest, AvrGccPutsTheCArraysInFlashWithProgmem) {
  NEED_TOOL("avr-gcc", "package gcc-avr");
  NEED_TOOL("avr-objcopy", "package binutils-avr");
  NEED_REFERENCE_TOOLS();
  WriteFile("beacon.c", "#include \"table.h\"\nint main(void) { return 0; }\n");
  for (const Case& c : AllCases(kMessagesEach)) {
    SCOPED_TRACE(c.Name());
    if (!Write(c, "--format c --progmem --name BEACON", "table.h")) continue;
    ASSERT_EQ(RunTool("avr-gcc -mmcu=atmega328p -Os -Wall -Wextra -Werror -c beacon.c -o beacon.o"),
              0)
        << ReadFile("tool.txt");
    std::remove("flash.bin");
    ASSERT_EQ(RunTool("avr-objcopy -O binary -j .progmem.data beacon.o flash.bin"), 0)
        << ReadFile("tool.txt");
    CheckBytes(c, FileBytes("flash.bin"));
  }
}

// Debian's sdcc is built without its PIC ports (their device libraries are not free), so the
// header is compiled and linked for the 8051, whose const data goes to code memory like a PIC's.
TEST_F(QvcodeToolchainTest, SdccCompilesTheCArraysIntoCodeMemory) {
  NEED_TOOL("sdcc", "package sdcc");
  NEED_REFERENCE_TOOLS();
  WriteFile("beacon.c", "#include \"table.h\"\nvoid main(void) {}\n");
  for (const Case& c : AllCases(kMessagesEach)) {
    SCOPED_TRACE(c.Name());
    if (!Write(c, "--format c --name BEACON", "table.h")) continue;
    std::remove("beacon.ihx");
    ASSERT_EQ(RunTool("sdcc -mmcs51 beacon.c"), 0) << ReadFile("tool.txt");
    // The linker map gives the array's address: "C:   00000067  _BEACON ...".
    std::istringstream map(ReadFile("beacon.map"));
    unsigned address = 0;
    for (std::string line; std::getline(map, line);) {
      std::istringstream words(line);
      std::string area, value, symbol;
      if (words >> area >> value >> symbol && area == "C:" && symbol == "_BEACON")
        address = unsigned(std::stoul(value, nullptr, 16));
    }
    ASSERT_NE(address, 0u) << "_BEACON is not in the map";
    std::map<unsigned, int> memory = ReadIntelHex(ReadFile("beacon.ihx"));
    std::vector<int> bytes;
    std::vector<int> expected;
    for (const std::string& message : c.messages)
      expected.push_back(int(qvcodetest::ExpectedValues(*c.mode, message, c.tones).size()));
    size_t total = 0;
    for (int count : expected)
      total += c.packed ? (size_t(count) * size_t(c.Bits()) + 7) / 8 : size_t(count);
    for (unsigned at = address; at < address + total; ++at) bytes.push_back(memory[at]);
    CheckBytes(c, bytes);
  }
}

TEST_F(QvcodeToolchainTest, SrecordReadsTheIntelHexImages) {
  NEED_TOOL("srec_info", "package srecord");
  NEED_TOOL("srec_cat", "package srecord");
  NEED_REFERENCE_TOOLS();
  struct Layout {
    std::string options;
    unsigned firstByte;  // in the hex file's byte addresses
    bool wordPerByte;
  };
  const Layout layouts[] = {{"--format hex", 0x2100 * 2, true},
                            {"--format hex --address 0x2140", 0x2140 * 2, true},
                            {"--format eep", 0, false},
                            {"--format hex --target atmega328p --address 16", 16, false}};
  for (const Layout& layout : layouts) {
    for (const Case& c : AllCases(kMessagesEach)) {
      SCOPED_TRACE(c.Name() + " " + layout.options);
      if (!Write(c, layout.options, "table.hex")) continue;
      ASSERT_EQ(RunTool("srec_info table.hex -intel"), 0) << ReadFile("tool.txt");
      std::remove("table.bin");
      ASSERT_EQ(RunTool("srec_cat table.hex -intel -offset -" + std::to_string(layout.firstByte) +
                        " -o table.bin -binary"),
                0)
          << ReadFile("tool.txt");
      std::vector<int> image = FileBytes("table.bin");
      std::vector<int> bytes;
      for (size_t i = 0; i < image.size(); ++i) {
        if (!layout.wordPerByte || i % 2 == 0) {
          bytes.push_back(image[i]);
        } else {
          EXPECT_EQ(image[i], 0) << "the high byte of EEPROM word " << i / 2;
        }
      }
      CheckBytes(c, bytes);
    }
  }
}

}  // namespace

namespace {

// qvcode's verdict for a run of `count` messages against a target: true when it writes the file.
bool QvcodeSaysFits(const std::string& options, int count, const std::string& output) {
  std::string schedule;
  for (int i = 0; i < count; ++i) schedule += "K1ABC FN42 37\n";
  testsupport::WriteFileBytes("sweep.txt", schedule);
  qvcodetest::Result result = qvcodetest::RunQvcode(options + " --schedule sweep.txt -o " + output);
  EXPECT_TRUE(result.exitCode == 0 || result.err.find("does not fit") != std::string::npos)
      << result.err;
  return result.exitCode == 0;
}

}  // namespace

// The fit verdict agrees with the real linker and assembler, just below and just above each
// chip's limit: avr-gcc links the header in the smallest program, gpasm places the table inside
// the part (no "exceeds maximum range" warning).
TEST_F(QvcodeToolchainTest, FitVerdictsAgreeWithTheLinkerAndTheAssembler) {
  NEED_TOOL("avr-gcc", "package gcc-avr");
  NEED_TOOL("gpasm", "package gputils");
  WriteFile("sweep.c", "#include \"sweep.h\"\nint main(void) { return 0; }\n");
  struct Limit {
    std::string target;
    std::string options;  // what puts the table where
    int bytesEach;        // a WSPR message's bytes with those options
    int units;            // the memory the verdict turns on
  };
  const Limit limits[] = {
      {"attiny13a", "-f c", 162, 64},    {"attiny13a", "-f c --progmem", 21, 980},
      {"attiny85", "-f c", 162, 512},    {"attiny85", "-f c --progmem", 21, 8134},
      {"atmega168", "-f c", 162, 1024},  {"atmega168", "-f c --progmem", 21, 16246},
      {"atmega328p", "-f c", 162, 2048}, {"atmega328p", "-f c --progmem", 21, 32630},
      {"12f629", "-f dt", 21, 1024},     {"16f628a", "-f dt", 21, 2048},
      {"16f877a", "-f dt", 162, 8192},
  };
  for (const Limit& limit : limits) {
    bool avr = limit.target.starts_with("at");
    std::string options = "-m wspr " + limit.options + " -t " + limit.target +
                          (limit.bytesEach == 21 ? " --pack" : " --sequence tones");
    int edge = limit.units / limit.bytesEach;
    for (int count : {edge, edge + 1}) {
      if (count == 0) continue;
      SCOPED_TRACE(options + ", " + std::to_string(count) + " messages");
      std::remove("sweep.h");
      bool fits = QvcodeSaysFits(options, count, avr ? "sweep.h" : "SWEEP.INC");
      // Written without the target check, for the toolchain to judge.
      std::string unchecked = options.substr(0, options.find(" -t ")) +
                              options.substr(options.find(" -t ") + 4 + limit.target.size());
      ASSERT_TRUE(QvcodeSaysFits(unchecked, count, avr ? "sweep.h" : "SWEEP.INC"));
      bool toolSays;
      if (avr) {
        toolSays = RunTool("avr-gcc -mmcu=" + limit.target + " -Os sweep.c -o sweep.elf") == 0;
      } else {
        WriteFile("sweep.asm",
                  "        processor " + limit.target +
                      "\n        org 0\n        #include \"SWEEP.INC\"\n        end\n");
        toolSays = RunTool("gpasm sweep.asm") == 0 &&
                   ReadFile("tool.txt").find("exceeds maximum range") == std::string::npos;
      }
      EXPECT_EQ(fits, toolSays) << ReadFile("tool.txt");
      EXPECT_EQ(fits, count * limit.bytesEach <= limit.units);
    }
  }
}

// A firmware of several C files may include the header in each: one link, with avr-gcc and with
// the host's compilers (C and C++).
TEST_F(QvcodeToolchainTest, TheCHeaderServesSeveralFilesOfOneFirmware) {
  NEED_TOOL("avr-gcc", "package gcc-avr");
  WriteFile("one.c", "#include \"table.h\"\nint one(void) { return BEACON[0][1]; }\n");
  WriteFile("two.c",
            "#include \"table.h\"\nint one(void);\nint main(void) { return one() + BEACON[1][0]; "
            "}\n");
  for (std::string progmem : {"", " --progmem"}) {
    ASSERT_EQ(qvcodetest::RunQvcode("-f c --name BEACON -o table.h" + progmem + " A1 B2").exitCode,
              0);
    std::string compilers[] = {"avr-gcc -mmcu=atmega328p -Os", "cc", "c++ -x c++"};
    for (const std::string& compiler : compilers) {
      if (!progmem.empty() && compiler != compilers[0]) continue;
      SCOPED_TRACE(compiler + progmem);
      EXPECT_EQ(RunTool(compiler + " -Wall -Wextra -Werror one.c two.c -o firmware"), 0)
          << ReadFile("tool.txt");
    }
  }
}

namespace {

// A symbol's bytes in an object's .progmem.data, found through avr-nm (the order the compiler lays
// the arrays out in is its own).
std::vector<std::uint8_t> ProgmemSymbol(const std::string& flash, const std::string& symbols,
                                        const std::string& name) {
  std::istringstream lines(symbols);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream fields(line);
    std::string offset, size, type, symbol;
    if (!(fields >> offset >> size >> type >> symbol) || symbol != name) continue;
    std::size_t at = std::stoul(offset, nullptr, 16), length = std::stoul(size, nullptr, 16);
    if (at + length > flash.size()) return {};
    return std::vector<std::uint8_t>(flash.begin() + long(at), flash.begin() + long(at + length));
  }
  return {};
}

// The synthesiser rows of a C header, compiled into AVR flash, make under the chip models the
// frequencies the same run's list states, on each band.
TEST_F(QvcodeToolchainTest, AvrGccCarriesTheSynthesiserRowsTheModelsReadBack) {
  NEED_TOOL("avr-gcc", "package gcc-avr");
  NEED_TOOL("avr-nm", "package binutils-avr");
  WriteFile("beacon.c", "#include \"table.h\"\nint main(void) { return 0; }\n");
  struct Chip {
    const char* name;
    double clockHz;
    const char* dials;
    std::size_t setupBytes, rowBytes;
  } chips[] = {{"si5351", 27e6, "--dial 7074000,14074000", 8, 8},
               {"ad9833", 25e6, "--dial 7074000", 2, 4},
               {"ad9851", 180e6, "--dial 14074000,28074000", 0, 5}};
  for (const Chip& chip : chips) {
    SCOPED_TRACE(chip.name);
    std::string options = std::string("-m ft8 --sequence tones --synth ") + chip.name +
                          " --clock " + std::to_string(long(chip.clockHz)) + " " + chip.dials +
                          " --name B \"CQ K1ABC FN42\"";
    qvcodetest::Result c = RunQvcode(options + " -f c --progmem -o table.h");
    ASSERT_EQ(c.exitCode, 0) << c.err;
    qvcodetest::Result list = RunQvcode(options + " -f list");
    ASSERT_EQ(list.exitCode, 0) << list.err;
    ASSERT_EQ(RunTool("avr-gcc -mmcu=atmega328p -Os -Wall -Wextra -Werror -c beacon.c -o beacon.o"),
              0)
        << ReadFile("tool.txt");
    ASSERT_EQ(RunTool("avr-objcopy -O binary -j .progmem.data beacon.o flash.bin"), 0);
    ASSERT_EQ(std::system("avr-nm -S beacon.o >symbols.txt"), 0);
    std::string flash = ReadFile("flash.bin"), symbols = ReadFile("symbols.txt");
    std::vector<std::uint8_t> setup = ProgmemSymbol(flash, symbols, "B_SETUP");
    std::vector<std::uint8_t> rows = ProgmemSymbol(flash, symbols, "B_TUNING");
    // The list's rows follow its one message line: band (from 1), tone, made Hz, error, bytes.
    std::istringstream lines(list.out);
    std::string line;
    std::getline(lines, line);
    std::size_t row = 0;
    for (; std::getline(lines, line); ++row) {
      std::istringstream fields(line);
      std::size_t band = 0;
      int tone = 0;
      double madeHz = 0, errorHz = 0;
      ASSERT_TRUE(fields >> band >> tone >> madeHz >> errorHz) << line;
      ASSERT_GE(band, 1u);
      ASSERT_LE(band * chip.setupBytes, setup.size());
      ASSERT_LE((row + 1) * chip.rowBytes, rows.size());
      std::vector<std::uint8_t> bandSetup(setup.begin() + long((band - 1) * chip.setupBytes),
                                          setup.begin() + long(band * chip.setupBytes));
      std::vector<std::uint8_t> bytes(rows.begin() + long(row * chip.rowBytes),
                                      rows.begin() + long((row + 1) * chip.rowBytes));
      testsynth::Made made = testsynth::ModelOutput(chip.name, chip.clockHz, bandSetup, bytes);
      ASSERT_TRUE(made.ok) << made.why;
      EXPECT_NEAR(made.hz, madeHz, 1e-3) << line;
      EXPECT_LT(std::fabs(errorHz), 0.05) << line;
    }
    EXPECT_GT(row, 0u);
    EXPECT_EQ(row * chip.rowBytes, rows.size());
  }
}

}  // namespace
