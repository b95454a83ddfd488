// The PIC16F628A JT65 beacon of examples/ in a simulated chip: quorvel writes JT65SYMB.INC for a
// message, gpasm assembles the firmware around it, gpsim runs it at its crystal's frequency and
// logs every write to PORTB and PORTA. The tones the chip puts on PORTB while its key is up must be
// the JT65 tone sequence of Debian's jt65code, one every 4096/11025 s within 100 ppm; and for one
// message those tones, rendered to audio, must decode in jt9 to the message typed. (quorvel takes
// messages of up to 13 characters.)
#include <gtest/gtest.h>

#include <cmath>
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

constexpr double kCrystalHz = 11289600;  // the firmware's clock; 4 clocks an instruction cycle
constexpr double kSymbolSeconds = 4096.0 / 11025.0;
constexpr int kPeriods = 126;
// The tone on all of PORTB, the key on RA0.
constexpr testonair::Wiring kWiring = {'B', 0xFF, 'A', 0};

// Run a little past one transmission (126 symbols of 2^20 cycles).
const char kScript[] =
    "load jt65-beacon.cod\n"
    "frequency 11289600\n"
    "log w portb\n"
    "log w porta\n"
    "log on writes.log\n"
    "break c 133000000\n"
    "run\n"
    "quit\n";

// gpsim's log: a line per instruction that starts with its cycle number in hex, then a line per
// register it wrote ("Wrote: 0x002B to portb(0x0006) was 0x0000").
std::vector<testonair::PortWrite> ReadWrites(const std::string& log) {
  std::vector<testonair::PortWrite> writes;
  double seconds = 0;
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with("0x"))
      seconds = double(std::stoull(line.substr(2, line.find(' ')), nullptr, 16)) * 4 / kCrystalHz;
    size_t wrote = line.find("Wrote: 0x");
    if (wrote == std::string::npos) continue;
    int value = std::stoi(line.substr(wrote + 9, 4), nullptr, 16);
    if (line.find(" to portb(", wrote) != std::string::npos)
      writes.push_back({seconds, 'B', value});
    if (line.find(" to porta(", wrote) != std::string::npos)
      writes.push_back({seconds, 'A', value});
  }
  return writes;
}

class PicBeaconTest : public testsupport::TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    NEED_TOOL("gpasm", "package gputils");
    NEED_TOOL("gpsim", "package gpsim");
    NEED_TOOL("jt65code", "package wsjtx");
    std::string bin = testsupport::BinFolder();
    for (const char* program : {"quorvel", "qcmd", "JT65CODE.EXE"})
      fs::copy_file(bin + "/" + program, program);
    fs::copy_file(fs::path(QUORVEL_SOURCE_DIR) / "examples/pic16f628a-jt65/jt65-beacon.asm",
                  "jt65-beacon.asm");
    testsupport::ClearEnvironment("COMSPEC");
    WriteFile("beacon.stc", kScript);
  }

  static std::vector<int> ReferenceTones(const std::string& message) {
    return testsupport::RunReferenceTool(modes::Mode::kJt65, message).tones;
  }

  static testonair::Transmission Simulate(const std::string& message) {
    for (const char* old : {"JT65SYMB.INC", "jt65-beacon.cod", "writes.log"}) fs::remove(old);
    std::string run =
        "setsid -w ./quorvel " + testsupport::ShellQuote(message) + " </dev/null >/dev/null 2>&1";
    EXPECT_EQ(std::system(run.c_str()), 0) << "quorvel";
    EXPECT_EQ(std::system("gpasm jt65-beacon.asm >gpasm.txt 2>&1"), 0) << ReadFile("gpasm.txt");
    EXPECT_EQ(std::system("timeout 120 gpsim -i -c beacon.stc >gpsim.txt 2>&1"), 0)
        << ReadFile("gpsim.txt");
    return testonair::Transmitted(ReadWrites(ReadFile("writes.log")), kWiring);
  }
};

TEST_F(PicBeaconTest, SendsTheReferenceTonesAtTheSymbolRate) {
  for (const char* message : {"CQ K1ABC FN42", "K1A W9X R-15", "TNX BOB 73 GL"}) {
    SCOPED_TRACE(message);
    testonair::Transmission sent = Simulate(message);
    EXPECT_EQ(sent.tones, ReferenceTones(message));
    ASSERT_EQ(sent.tones.size(), size_t(kPeriods));
    testonair::ExpectSymbolTiming(sent, kSymbolSeconds);
  }
}

TEST_F(PicBeaconTest, ItsTonesDecodeInJt9AsTheMessageTyped) {
  NEED_TOOL("jt9", "package wsjtx");
  const std::string typed = "CQ PJ4/K1ABC";
  testonair::Transmission sent = Simulate(typed);
  ASSERT_EQ(sent.tones.size(), size_t(kPeriods));
  modes::Encoding encoding;
  ASSERT_TRUE(modes::EncodeMessage(modes::Mode::kJt65, 'A', typed, encoding).ok);
  encoding.tones = sent.tones;
  fs::create_directory("decode");
  const double frequency = 1400;
  ASSERT_EQ(testonair::WriteWav(encoding, frequency, "decode/" + std::string(testonair::kWavName)),
            "");
  std::vector<testonair::Decode> decodes =
      testonair::RunDecoder(modes::Mode::kJt65, 'A', frequency, "decode");
  ASSERT_EQ(decodes.size(), 1u) << ReadFile("decode/decoder.txt");
  EXPECT_EQ(decodes[0].message, typed);
}

}  // namespace
