// The GPS beacon of examples/ on qvbench's simulated bench: avr-gcc builds it around a beacon.h
// in the layout qvcode writes (the message's tones from qvcode, the Si5351 rows from qvcode's
// synthesiser arithmetic, the Morse from the encoder core), simavr runs it with an Si5351 on its
// I2C bus and a GPS on its UART and PPS pin, and the bench's record must show each transmission
// starting within 10 ms of its slot, the reference tool's tones each a whole symbol long on the
// tone grid, audio that wsprd or jt9 decodes to the message where it was sent, and Morse that
// multimon-ng reads as the identification. A beacon built to start a second late, and one
// built to write its tones one register too high, must fail the same checks.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "modes/core/cw/qvk-morse.h"
#include "modes/mode.h"
#include "qvcode/synthesisers.h"
#include "tests/support/environment.h"
#include "tests/support/needs-tool.h"
#include "tests/support/reference-tools.h"
#include "tests/support/shell.h"
#include "tests/support/temp-folder.h"
#include "tools/qvbench/bench.h"
#include "tools/qvbench/report.h"

namespace {

namespace fs = std::filesystem;

struct Case {
  const char* name;
  modes::Mode mode;
  const char* message;
  std::vector<double> dialsHz;
  const char* flags;  // -D options of the build
  double seconds;     // simulated
  int transmissions;  // expected whole in that time
  const char* fault;  // empty: every check passes; else words the bench's faults must hold
};

void PrintTo(const Case& c, std::ostream* out) {
  *out << c.name;
}

const std::vector<Case> kCases = {
    {"wspr-two-bands", modes::Mode::kWspr, "K1ABC FN42 37", {14095600, 7038600}, "", 250, 2, ""},
    {"ft8", modes::Mode::kFt8, "CQ K1ABC FN42", {14074000}, "", 40, 1, ""},
    {"wspr-a-second-late",
     modes::Mode::kWspr,
     "K1ABC FN42 37",
     {14095600},
     "-DBEACON_SLIP_SECONDS=1",
     130,
     1,
     "1.000 s from its slot"},
    {"wspr-wrong-register",
     modes::Mode::kWspr,
     "K1ABC FN42 37",
     {14095600},
     "-DBEACON_SLIP_REGISTER=1",
     130,
     1,
     "feedback ratio"},
};
constexpr const char* kIdentification = "K1ABC";

std::string Bytes(const std::vector<std::uint8_t>& bytes) {
  std::string text;
  for (std::uint8_t b : bytes) text += (text.empty() ? "" : ",") + std::to_string(b);
  return "{" + text + "}";
}

class BeaconBenchTest : public testsupport::TempFolderTest,
                        public ::testing::WithParamInterface<Case> {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    for (const char* tool : {"avr-gcc", "wsprd", "jt9", "wsprcode", "ft8code"})
      NEED_TOOL(tool, "packages gcc-avr, avr-libc, wsjtx");
    NEED_TOOL("multimon-ng", "package multimon-ng");
    NEED_TOOL("sox", "package sox");
    fs::copy_file(fs::path(QUORVEL_SOURCE_DIR) / "examples/atmega328p-gps-beacon/gps-beacon.c",
                  "gps-beacon.c");
  }

  // beacon.h: qvcode's tone table, then the Si5351 rows and the Morse in qvcode's layout.
  static void WriteHeader(const Case& c) {
    const std::string command = testsupport::ShellQuote(testsupport::BinFolder() + "/qvcode") +
                                " -m " + std::string(modes::InfoOf(c.mode).name) +
                                " --sequence tones -f c --progmem -n BEACON -o tones.h -- " +
                                testsupport::ShellQuote(c.message) + " 2>qvcode.txt";
    ASSERT_EQ(std::system(command.c_str()), 0) << ReadFile("qvcode.txt");
    std::string header = ReadFile("tones.h");
    header.erase(header.rfind("#endif"));

    modes::Encoding encoding;
    ASSERT_TRUE(modes::EncodeMessage(c.mode, 0, c.message, encoding).ok);
    qvcode::Tuning tuning;
    const qvcode::Synthesiser& chip = *qvcode::FindSynthesiser("si5351");
    const auto refused = qvcode::TuneBands(chip, 25e6, c.dialsHz, encoding,
                                           modes::InfoOf(c.mode).toneCount, 1500, tuning);
    ASSERT_FALSE(refused) << *refused;
    const size_t bands = tuning.bands.size(), tones = tuning.bands[0].tones.size();
    for (const char* line :
         {"#define BEACON_TUNING_BYTES 8", "#define BEACON_SETUP_BYTES 8",
          "#define BEACON_SI5351_ADDRESS 0x60", "#define BEACON_SI5351_TUNING_REGISTER 26",
          "#define BEACON_SI5351_SETUP_REGISTER 42",
          "#define BEACON_SI5351_CLK_CONTROL_REGISTER 16", "#define BEACON_SI5351_CLK_CONTROL 0x4F",
          "#define BEACON_SI5351_PLL_RESET_REGISTER 177", "#define BEACON_SI5351_PLL_RESET 0x20",
          "#define BEACON_SI5351_OUTPUT_ENABLE_REGISTER 3",
          "#define BEACON_SI5351_OUTPUT_ENABLE 0xFE"})
      header += std::string(line) + "\n";
    header += "#define BEACON_BANDS " + std::to_string(bands) + "\n";
    std::string setup, rows;
    for (const qvcode::BandTuning& band : tuning.bands) {
      setup += (setup.empty() ? "" : ",") + Bytes(band.setup);
      std::string tone;
      for (const qvcode::ToneTuning& t : band.tones)
        tone += (tone.empty() ? "" : ",") + Bytes(t.bytes);
      rows += (rows.empty() ? "{" : ",{") + tone + "}";
    }
    header += "const unsigned char BEACON_SETUP[" + std::to_string(bands) + "][8] PROGMEM = {" +
              setup + "};\n";
    header += "const unsigned char BEACON_TUNING[" + std::to_string(bands) + "][" +
              std::to_string(tones) + "][8] PROGMEM = {" + rows + "};\n";

    std::uint8_t durations[64];
    qvc_report report{};
    const size_t count = qvk_morse_keying(kIdentification, durations, sizeof durations, &report);
    ASSERT_GT(count, 0u);
    std::vector<std::uint8_t> keying(durations, durations + count);
    keying.push_back(0);
    header += "#define BEACON_CW_IDS 1\n#define BEACON_CW_LENGTH " + std::to_string(keying.size()) +
              "\n#define BEACON_CW_DOT_MS 60\n";
    header += "const unsigned char BEACON_CW[1][" + std::to_string(keying.size()) +
              "] PROGMEM = {" + Bytes(keying) + "};\n";
    header += "const unsigned char BEACON_CW_AFTER[BEACON_MESSAGES] PROGMEM = {1};\n#endif\n";
    WriteFile("beacon.h", header);
  }
};

TEST_P(BeaconBenchTest, KeepsToItsSlotsTonesAndTimingAndDecodes) {
  const Case& c = GetParam();
  WriteHeader(c);
  const std::string build = std::string(
                                "avr-gcc -mmcu=atmega328p -DF_CPU=16000000UL -Os -Wall "
                                "-Wextra -Werror ") +
                            c.flags + " -o beacon.elf gps-beacon.c >avr-gcc.txt 2>&1";
  ASSERT_EQ(std::system(build.c_str()), 0) << ReadFile("avr-gcc.txt");

  qvbench::BenchSetup setup;
  setup.firmware = "beacon.elf";
  setup.pps = {'D', 2};
  setup.startUtc = 12 * 3600 + 1 * 60 + 52.5;  // a fix by 12:01:56, the first slot at 12:02
  setup.runSeconds = c.seconds;
  qvbench::BenchRecord record;
  std::string error;
  ASSERT_TRUE(qvbench::RunBench(setup, record, error)) << error;
  qvbench::ReportOptions options;
  options.mode = c.mode;
  options.dialsHz = c.dialsHz;
  options.folder = fs::absolute("decode").string();
  qvbench::Verdict verdict = qvbench::Examine(setup, record, options);
  if (*c.fault != '\0') {
    EXPECT_FALSE(verdict.ok) << "a faulty beacon passed the bench";
    std::string faults;
    for (const std::string& fault : record.faults) faults += fault + "\n";
    for (const qvbench::Examined& one : verdict.transmissions)
      for (const std::string& fault : one.sent.faults) faults += fault + "\n";
    EXPECT_NE(faults.find(c.fault), std::string::npos) << faults;
    return;
  }

  const modes::ModeInfo& mode = modes::InfoOf(c.mode);
  const std::vector<int> reference = testsupport::RunReferenceTool(c.mode, c.message).tones;
  EXPECT_TRUE(record.faults.empty()) << record.faults.front();
  ASSERT_EQ(verdict.transmissions.size(), size_t(c.transmissions));
  for (size_t n = 0; n < verdict.transmissions.size(); ++n) {
    SCOPED_TRACE("transmission " + std::to_string(n + 1));
    const qvbench::Examined& one = verdict.transmissions[n];
    EXPECT_LE(std::abs(one.sent.lateSeconds), 0.010);
    EXPECT_TRUE(one.sent.faults.empty()) << one.sent.faults.front();
    EXPECT_EQ(one.sent.tones, reference);
    // Each transmission takes the next band of the plan.
    EXPECT_EQ(one.dialHz, c.dialsHz[n % c.dialsHz.size()]);
    ASSERT_EQ(one.heard.size(), 1u) << ReadFile("decode/" + std::to_string(n) + "/decoder.txt");
    EXPECT_EQ(one.heard[0].message, c.message);
    EXPECT_NEAR(one.heard[0].audioHz, 1500, c.mode == modes::Mode::kWspr ? 1 : 3.125);
    EXPECT_NEAR(one.heard[0].dtSeconds, 0, mode.mode == modes::Mode::kWspr ? 0.5 : 0.2);
    EXPECT_EQ(one.morse, kIdentification);
  }
  EXPECT_TRUE(verdict.ok);
}

INSTANTIATE_TEST_SUITE_P(Beacons, BeaconBenchTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) {
                           std::string name = info.param.name;
                           for (char& ch : name)
                             if (ch == '-') ch = '_';
                           return name;
                         });

}  // namespace
