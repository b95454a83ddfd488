// The beacons of examples/ on qvbench's simulated bench: avr-gcc builds each around a beacon.h
// that qvcode writes (beacon-header.h), simavr runs it with an Si5351 on its I2C bus
// (the ATmega328P's TWI, the ATtiny85's USI) and a GPS on its UART and pulse pin, and the bench's record must show each transmission
// starting within 10 ms of its slot, the reference tool's tones each a whole symbol long on the
// tone grid, audio that wsprd or jt9 decodes to the message where it was sent, and Morse that
// multimon-ng reads as the identification. A beacon built to start a second late, and one
// built to write its tones one register too high, must fail the same checks. And qvbench, the
// program, says so to its users.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "modes/mode.h"
#include "tests/outside/on-air/beacon-header.h"
#include "tests/support/environment.h"
#include "tests/support/needs-tool.h"
#include "tests/support/reference-tools.h"
#include "tests/support/shell.h"
#include "tests/support/temp-folder.h"
#include "tools/qvbench/bench.h"
#include "tools/qvbench/report.h"

namespace {

namespace fs = std::filesystem;

// A firmware of examples/ and how the bench wires it.
struct Board {
  const char* source;  // under examples/
  const char* mcu;
  qvbench::Pin pulse;
  int pulseEvery;    // seconds
  double pulseLate;  // seconds after the UTC second
};
// The GPS beacon: NMEA on the UART, PPS on INT0.
const Board kGpsBoard = {"atmega328p-gps-beacon/gps-beacon.c", "atmega328p", {'D', 2}, 1, 0};
// The ATtiny85 beacon: started by a pulse on PB1, 1 s after each even minute.
const Board kTinyBoard = {"attiny85-wspr/tiny-wspr.c", "attiny85", {'B', 1}, 120, 1};

struct Case {
  const char* name;
  const Board& board;
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

constexpr modes::Mode kWspr = modes::Mode::kWspr;
const std::vector<Case> kCases = {
    {"wspr-two-bands", kGpsBoard, kWspr, "K1ABC FN42 37", {14095600, 7038600}, "", 250, 2, ""},
    {"ft8", kGpsBoard, modes::Mode::kFt8, "CQ K1ABC FN42", {14074000}, "", 40, 1, ""},
    {"attiny85-wspr", kTinyBoard, kWspr, "K1ABC FN42 37", {10138700}, "", 130, 1, ""},
    // clang-format off
    {"wspr-a-second-late", kGpsBoard, kWspr, "K1ABC FN42 37", {14095600},
     "-DBEACON_SLIP_SECONDS=1", 130, 1, "1.000 s from its slot"},
    {"wspr-wrong-register", kGpsBoard, kWspr, "K1ABC FN42 37", {14095600},
     "-DBEACON_SLIP_REGISTER=1", 130, 1, "feedback ratio"},
    // clang-format on
};
constexpr const char* kIdentification = "K1ABC";

class BeaconBenchTest : public testsupport::TempFolderTest,
                        public ::testing::WithParamInterface<Case> {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    for (const char* tool : {"avr-gcc", "wsprd", "jt9", "wsprcode", "ft8code"})
      NEED_TOOL(tool, "packages gcc-avr, avr-libc, wsjtx");
    NEED_TOOL("multimon-ng", "package multimon-ng");
    NEED_TOOL("sox", "package sox");
  }
};

TEST_P(BeaconBenchTest, KeepsToItsSlotsTonesAndTimingAndDecodes) {
  const Case& c = GetParam();
  ASSERT_EQ(testonair::WriteBeaconHeader(c.mode, c.message, c.dialsHz, kIdentification, "beacon.h"),
            "");
  ASSERT_EQ(testonair::BuildBeacon(c.board.source, c.board.mcu, c.flags), "");

  qvbench::BenchSetup setup;
  setup.firmware = "beacon.elf";
  setup.mcu = c.board.mcu;
  setup.pps = c.board.pulse;
  setup.ppsEverySeconds = c.board.pulseEvery;
  setup.ppsLateSeconds = c.board.pulseLate;
  setup.gps = setup.mcu == "atmega328p";
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

// qvbench as its users run it, on a HEX file: exit status 0 and a report of the slot, the decode
// and the Morse for the WSPR beacon; exit status 1 and the fault for the one that starts late.
class QvbenchProgramTest : public testsupport::TempFolderTest {};

TEST_F(QvbenchProgramTest, ReportsWhatTheBeaconSentAndWhatWasHeard) {
  for (const char* tool : {"avr-gcc", "avr-objcopy", "wsprd", "multimon-ng", "sox"})
    NEED_TOOL(tool, "packages gcc-avr, binutils-avr, wsjtx, multimon-ng, sox");
  ASSERT_EQ(
      testonair::WriteBeaconHeader(kWspr, "K1ABC FN42 37", {14095600}, kIdentification, "beacon.h"),
      "");
  for (const char* flags : {"", "-DBEACON_SLIP_SECONDS=1"}) {
    SCOPED_TRACE(flags);
    ASSERT_EQ(testonair::BuildBeacon(kGpsBoard.source, kGpsBoard.mcu, flags), "");
    ASSERT_EQ(std::system("avr-objcopy -O ihex -R .eeprom beacon.elf beacon.hex"), 0);
    const std::string run = testsupport::ShellQuote(testsupport::BinFolder() + "/qvbench") +
                            " --dial 14095600 beacon.hex >report.txt 2>&1";
    const int status = std::system(run.c_str());
    const std::string report = ReadFile("report.txt");
    if (*flags != '\0') {
      EXPECT_EQ(WEXITSTATUS(status), 1) << report;
      EXPECT_NE(report.find("FAULT: it starts 1.000 s from its slot"), std::string::npos) << report;
      continue;
    }
    EXPECT_EQ(WEXITSTATUS(status), 0) << report;
    for (const char* line :
         {"wspr transmission 1: starts 12:02:01.000, +0.", "wsprd: \"K1ABC FN42 37\" at 1500.0 Hz",
          "(Morse): \"K1ABC\"", "verdict: every transmission kept to its mode"})
      EXPECT_NE(report.find(line), std::string::npos) << report;
  }
}

INSTANTIATE_TEST_SUITE_P(Beacons, BeaconBenchTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) {
                           std::string name = info.param.name;
                           for (char& ch : name)
                             if (ch == '-') ch = '_';
                           return name;
                         });

}  // namespace
