// The ATmega328P WSPR beacon of examples/ in a simulated chip: qvcode writes its tone table as a C
// header for the message, avr-gcc builds the firmware around it, and simavr's library runs it at 16
// MHz with every write to PORTB and PORTD traced (avr-port-trace). The tones on PB0..PB1 while the
// key on PD6 is up must be the WSPR tones of Debian's wsprcode, one every 8192/12000 s within 100
// ppm; and for one message those tones, rendered to audio, must decode in wsprd to the message
// typed.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "modes/mode.h"
#include "tests/outside/on-air/decoders.h"
#include "tests/outside/on-air/transmission.h"
#include "tests/support/environment.h"
#include "tests/support/needs-tool.h"
#include "tests/support/reference-tools.h"
#include "tests/support/shell.h"
#include "tests/support/temp-folder.h"

namespace {

namespace fs = std::filesystem;

constexpr double kClockHz = 16e6;
constexpr double kSymbolSeconds = 8192.0 / 12000.0;
constexpr int kSymbols = 162;
// The tone on PB0..PB1, the key on PD6.
constexpr testonair::Wiring kWiring = {'B', 0x03, 'D', 6};

// The trace: "CYCLE PORT VALUE" a write, then "end CYCLE STATE" (simavr's own lines besides).
std::vector<testonair::PortWrite> ReadTrace(const std::string& trace, std::string& end) {
  std::vector<testonair::PortWrite> writes;
  std::istringstream lines(trace);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream fields(line);
    std::string first, port, value;
    if (!(fields >> first >> port >> value)) continue;
    if (first == "end") end = value;
    if (first.find_first_not_of("0123456789") != std::string::npos || port.size() != 1) continue;
    writes.push_back({std::stod(first) / kClockHz, port[0], std::stoi(value)});
  }
  return writes;
}

class AvrBeaconTest : public testsupport::TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    NEED_TOOL("avr-gcc", "packages gcc-avr, avr-libc");
    NEED_TOOL("wsprcode", "package wsjtx");
    if (std::string(AVR_PORT_TRACE).empty()) {
      if (testsupport::InCi()) FAIL() << "avr-port-trace was not built (package libsimavr-dev)";
      GTEST_SKIP() << "avr-port-trace was not built: simavr's library is missing (libsimavr-dev)";
    }
    fs::copy_file(fs::path(QUORVEL_SOURCE_DIR) / "examples/atmega328p-wspr/wspr-beacon.c",
                  "wspr-beacon.c");
  }

  static std::vector<int> ReferenceTones(const std::string& message) {
    return testsupport::RunReferenceTool(modes::Mode::kWspr, message).tones;
  }

  // The message's tone table as qvcode writes it for an AVR: a C header, the table in flash.
  static void WriteToneHeader(const std::string& message) {
    std::string qvcode = testsupport::BinFolder() + "/qvcode";
    std::string command = testsupport::ShellQuote(qvcode) +
                          " --mode wspr --sequence tones --format c --progmem --name BEACON_TONES"
                          " -o beacon-tones.h -- " +
                          testsupport::ShellQuote(message) + " 2>qvcode.txt";
    ASSERT_EQ(std::system(command.c_str()), 0) << ReadFile("qvcode.txt");
  }

  static testonair::Transmission Simulate(std::string& end) {
    EXPECT_EQ(std::system("avr-gcc -mmcu=atmega328p -Os -Wall -Wextra -Werror -o wspr-beacon.elf "
                          "wspr-beacon.c >avr-gcc.txt 2>&1"),
              0)
        << ReadFile("avr-gcc.txt");
    std::string run =
        testsupport::ShellQuote(AVR_PORT_TRACE) + " wspr-beacon.elf 130 >trace.txt 2>&1";
    EXPECT_EQ(std::system(("timeout 120 " + run).c_str()), 0) << ReadFile("trace.txt");
    return testonair::Transmitted(ReadTrace(ReadFile("trace.txt"), end), kWiring);
  }
};

TEST_F(AvrBeaconTest, SendsTheReferenceTonesAtTheSymbolRate) {
  for (const char* message : {"K1ABC FN42 37", "PJ4/K1ABC 37", "<K1ABC> FN42AB 37"}) {
    SCOPED_TRACE(message);
    std::vector<int> reference = ReferenceTones(message);
    ASSERT_EQ(reference.size(), size_t(kSymbols));
    WriteToneHeader(message);
    std::string end;
    testonair::Transmission sent = Simulate(end);
    EXPECT_EQ(end, "done") << "the chip did not power down after the transmission";
    EXPECT_EQ(sent.tones, reference);
    testonair::ExpectSymbolTiming(sent, kSymbolSeconds);
  }
}

}  // namespace

TEST_F(AvrBeaconTest, ItsTonesDecodeInWsprdAsTheMessageTyped) {
  NEED_TOOL("wsprd", "package wsjtx");
  const std::string typed = "PJ4/K1ABC 37";
  WriteToneHeader(typed);
  std::string end;
  testonair::Transmission sent = Simulate(end);
  ASSERT_EQ(sent.tones.size(), size_t(kSymbols));
  modes::Encoding encoding;
  ASSERT_TRUE(modes::EncodeMessage(modes::Mode::kWspr, 0, typed, encoding).ok);
  encoding.tones = sent.tones;
  fs::create_directory("decode");
  const double frequency = 1500;
  ASSERT_EQ(testonair::WriteWav(encoding, frequency, "decode/" + std::string(testonair::kWavName)),
            "");
  std::vector<testonair::Decode> decodes =
      testonair::RunDecoder(modes::Mode::kWspr, 0, frequency, "decode");
  ASSERT_EQ(decodes.size(), 1u) << ReadFile("decode/decoder.txt");
  EXPECT_EQ(decodes[0].message, typed);
}
