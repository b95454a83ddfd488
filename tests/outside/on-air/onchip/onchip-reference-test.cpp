// The encoder core on a simulated ATmega328P (and, for WSPR, an ATtiny85) against the reference
// tools and the host library. Each mode's firmware is loaded once and fed message after message:
// for the first messages of a seeded set, the chip's symbols and tones must equal the reference
// tool's wherever the tool encodes, and a message the chip refuses must be one the tool refuses
// or one the host library refuses too (the reference layer checks those against the tool); for
// every message the host library encodes, the chip must give exactly what it gives, and refuse
// nothing it encodes (the host refuses a few messages the core sends: those are listed). Q65's
// messages ending in RR73 go out with WSJT-X's RR73 code, which q65code lacks: those are held to
// the host library alone, which the reference layer proves equal to q65sim.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "modes/bits.h"
#include "modes/mode.h"
#include "tests/outside/on-air/onchip/chip-session.h"
#include "tests/outside/on-air/onchip/onchip-modes.h"
#include "tests/outside/reference/fst4-tool-text.h"
#include "tests/support/needs-tool.h"
#include "tests/support/reference-tools.h"
#include "tests/support/shell.h"
#include "tests/support/temp-folder.h"

namespace {

using testonchip::ChipEncoding;
using testonchip::ChipHandle;

constexpr int kToolMessages = 240;   // compared with the reference tool and the host library
constexpr int kHostMessages = 1000;  // of them all, compared with the host library
constexpr int kShownFailures = 10;

std::string Numbers(const std::vector<int>& values) {
  std::string text;
  for (int value : values) text += std::to_string(value) + " ";
  return text;
}

ChipHandle LoadOrFail(const std::string& name, const std::string& mcu) {
  ChipHandle firmware = testonchip::LoadFirmware(testonchip::FirmwarePath(name, mcu), mcu);
  EXPECT_EQ(firmware->error, "");
  return firmware;
}

// The harness itself, with the stand-in mode: every byte the chip writes is known.
TEST(OnChipHarness, TheStandInComesBackByteForByte) {
  for (const char* mcu : {"atmega328p", "attiny85"}) {
    SCOPED_TRACE(mcu);
    ChipHandle firmware = LoadOrFail("echo", mcu);
    ASSERT_EQ(firmware->error, "");
    EXPECT_EQ(firmware->symbolCount, 8u);
    for (std::string text : {"K1ABC", "ABCDEFGHIJ", ""}) {
      ChipEncoding got = testonchip::EncodeOnChip(*firmware, text);
      ASSERT_TRUE(got.finished) << text;
      EXPECT_EQ(got.status, text.empty() ? 1 : 0);
      for (unsigned i = 0; i < 8; ++i) {
        int byte = i < text.size() ? static_cast<unsigned char>(text[i]) : 0;
        EXPECT_EQ(got.symbols[i], byte);
        EXPECT_EQ(got.tones[i], byte + 1);
      }
      EXPECT_GT(got.cycles, 20u);
      EXPECT_GE(got.stackBytes, 2u);  // at least the call's return address
    }
    EXPECT_FALSE(
        testonchip::EncodeOnChip(*firmware, std::string(firmware->textCapacity, 'A')).finished)
        << "a text longer than the firmware's buffer must not be sent";
  }
}

struct Tally {
  int sameAsTool = 0, refusedByBoth = 0, refusedWithHost = 0, sameAsHostOnly = 0, failures = 0;
  std::map<std::string, int> perType;
  std::vector<std::string> refusedByHostAlone;
};

void Fail(Tally& tally, const std::string& message, const std::string& why) {
  if (++tally.failures <= kShownFailures) ADD_FAILURE() << "[" << message << "]: " << why;
}

// What the tool's listing says of a message for a family: whether the tool sends it as the mode,
// whether the chip's tones are to equal the tool's, and the message type as the reference layer
// counts it: i3.n3 for the 77-bit modes (from the tool's type column for FT8 and FT4, from the
// bits fst4sim and q65code print for FST4 and Q65, FST4's WSPR-style frame as 0.6); WSPR's type
// 1-3 from its type column (the power for types 1 and 2, its last digit 0, 3 or 7 for type 1;
// negative for type 3); FST4W's form W1-W3 from its bits 48 and 49; the type column for JT65, JT9
// and JT4.
struct ToolReading {
  bool sends = true;
  bool comparable = true;
  std::string type;
};

ToolReading ReadTool(modes::Mode mode, const testsupport::ToolEncoding& tool) {
  ToolReading reading;
  reading.sends = tool.ok;
  const std::vector<std::uint8_t>& bits = tool.sourceBits;
  auto i3n3 = [](int i3, int n3) {
    return std::to_string(i3) + (i3 == 0 ? "." + std::to_string(n3) : "");
  };
  switch (mode) {
    case modes::Mode::kFt8:
    case modes::Mode::kFt4:
      reading.type = i3n3(tool.type, tool.subtype);
      break;
    case modes::Mode::kWspr: {
      int last = tool.type % 10;
      reading.type = tool.type < 0 ? "3" : (last == 0 || last == 3 || last == 7) ? "1" : "2";
      break;
    }
    case modes::Mode::kFst4w:
      // fst4sim sends a text no FST4W form takes as an FST4 frame (its type 0).
      reading.sends = tool.ok && tool.type == 1;
      if (reading.sends) reading.type = bits[49] ? "W2" : bits[48] ? "W3" : "W1";
      break;
    case modes::Mode::kFst4:
      if (tool.ok)
        reading.type = tool.type == 1 ? "0.6"
                                      : i3n3(int(modes::ReadBits(bits, 74, 3)),
                                             int(modes::ReadBits(bits, 71, 3)));
      break;
    case modes::Mode::kQ65:
      if (tool.ok) {
        int i3 = int(modes::ReadBits(bits, 74, 3));
        reading.type = i3n3(i3, int(modes::ReadBits(bits, 71, 3)));
        // q65code sends a final RR73 as the locator; the chip, as WSJT-X's transmitter, sends the
        // RR73 code. Those are compared with the host library, which the reference layer proves
        // equal to q65sim.
        reading.comparable = !((i3 == 1 || i3 == 2) && modes::ReadBits(bits, 59, 15) == 32373);
      }
      break;
    default:
      reading.type = std::to_string(tool.type);
  }
  return reading;
}

// Every type each family has, which the messages compared must cover.
std::vector<std::string> TypesOf(modes::Mode mode) {
  switch (mode) {
    case modes::Mode::kFt8:
    case modes::Mode::kFt4:
    case modes::Mode::kFst4:
    case modes::Mode::kQ65:
      return {"0.0", "0.1", "0.3", "0.4", "0.5", "0.6", "1", "2", "3", "4", "5"};
    case modes::Mode::kWspr:
      return {"1", "2", "3"};
    case modes::Mode::kFst4w:
      return {"W1", "W2", "W3"};
    default:
      return {"1", "2", "3", "4", "5", "6"};
  }
}

// The text the tool is given for a message: fst4sim's own way with leading blanks left aside.
std::string ToolText(modes::Mode mode, const std::string& message) {
  bool fst4 = mode == modes::Mode::kFst4w || mode == modes::Mode::kFst4;
  return fst4 ? fst4test::WithoutLeadingBlanks(message) : message;
}

class OnChipReference : public testing::TestWithParam<std::string> {};

TEST_P(OnChipReference, ChipEqualsToolAndHost) {
  const modes::ModeInfo* info = modes::FindMode(GetParam());
  ASSERT_NE(info, nullptr) << GetParam() << " is no mode of the host library";
  NEED_REFERENCE_TOOL(info->mode);
  ChipHandle firmware = LoadOrFail(GetParam(), "atmega328p");
  ASSERT_EQ(firmware->error, "");
  std::vector<std::string> messages = testonchip::MessagesFor(info->mode, 20261209, kHostMessages);
  std::vector<std::string> first;
  for (int i = 0; i < kToolMessages; ++i) first.push_back(ToolText(info->mode, messages[i]));
  std::vector<testsupport::ToolEncoding> tool =
      testsupport::RunReferenceToolBatch(info->mode, first);

  Tally tally;
  for (std::size_t i = 0; i < messages.size(); ++i) {
    const std::string& message = messages[i];
    if (message.size() + 1 > firmware->textCapacity) continue;
    ChipEncoding chip = testonchip::EncodeOnChip(*firmware, message);
    if (!chip.finished) {
      Fail(tally, message, "the firmware did not come back (crashed or stuck)");
      continue;
    }
    modes::Encoding host;
    modes::EncodeResult hostResult = modes::EncodeMessage(info->mode, 0, message, host);
    if (hostResult.ok && chip.status != 0) {
      Fail(tally, message,
           "the host encodes it, the chip refuses it (status " + std::to_string(chip.status) + ")");
      continue;
    }
    // The host library refuses more than the core (a message a receiver would show as nothing);
    // the chip's encoding of those is still compared with the tool's below.
    if (!hostResult.ok && chip.status == 0 && tally.refusedByHostAlone.size() < kShownFailures)
      tally.refusedByHostAlone.push_back("[" + message + "] (" + hostResult.error + ")");
    bool symbolsDiffer = firmware->symbolCount > 0 && chip.symbols != host.symbols;
    if (hostResult.ok && (symbolsDiffer || chip.tones != host.tones)) {
      Fail(tally, message,
           "chip and host differ:\n  chip " + Numbers(chip.tones) + "\n  host " +
               Numbers(host.tones));
      continue;
    }
    if (i >= tool.size() || !testsupport::ReferenceToolTakes(info->mode, message)) continue;
    const testsupport::ToolEncoding& want = tool[i];
    ToolReading reading = ReadTool(info->mode, want);
    if (chip.status != 0) {
      // The host refuses it as well; where the tool does not, the reference layer has judged why.
      ++(reading.sends ? tally.refusedWithHost : tally.refusedByBoth);
      continue;
    }
    if (!reading.sends) {
      Fail(tally, message,
           "the chip encodes it, the tool does not send it as the mode: " + want.error);
      continue;
    }
    if (!reading.comparable) {
      ++tally.sameAsHostOnly;
      continue;
    }
    ++tally.sameAsTool;
    ++tally.perType[reading.type];
    if (firmware->symbolCount > 0 && chip.symbols != want.symbols)
      Fail(
          tally, message,
          "symbols differ:\n  chip " + Numbers(chip.symbols) + "\n  tool " + Numbers(want.symbols));
    else if (chip.tones != want.tones)
      Fail(tally, message,
           "tones differ:\n  chip " + Numbers(chip.tones) + "\n  tool " + Numbers(want.tones));
  }
  std::printf(
      "%s: %d the same as the tool, %d refused by both, %d refused with the host where "
      "the tool sends something, %d the same as the host where the tool sends otherwise, %d "
      "failures\n",
      GetParam().c_str(), tally.sameAsTool, tally.refusedByBoth, tally.refusedWithHost,
      tally.sameAsHostOnly, tally.failures);
  for (const std::string& refused : tally.refusedByHostAlone)
    std::printf("  sent by the chip, refused by the host alone: %s\n", refused.c_str());
  for (const auto& [type, count] : tally.perType)
    std::printf("  type %s: %d the same as the tool\n", type.c_str(), count);
  for (const std::string& type : TypesOf(info->mode))
    EXPECT_GE(tally.perType[type], 3) << "too few messages of type " << type;
  EXPECT_EQ(tally.failures, 0);
  EXPECT_GE(tally.sameAsTool + tally.refusedByBoth + tally.refusedWithHost + tally.sameAsHostOnly,
            200);
}

// The modes built for a small chip too (ATtiny85: 8 KB flash, 512 B RAM), for a few messages: the
// tones equal the tool's, and the stack never reaches the static data.
TEST(OnChipSmall, ToolsTonesOnAnAttiny85) {
  int built = 0;
  for (const std::string& name : testonchip::BuiltModes()) {
    std::string elf = testonchip::FirmwarePath(name, "attiny85");
    if (!std::filesystem::exists(elf)) continue;
    ++built;
    SCOPED_TRACE(name);
    const modes::ModeInfo* info = modes::FindMode(name);
    ASSERT_NE(info, nullptr);
    NEED_REFERENCE_TOOL(info->mode);
    ChipHandle firmware = testonchip::LoadFirmware(elf, "attiny85");
    ASSERT_EQ(firmware->error, "");
    std::vector<std::string> messages = testonchip::SmallChipMessages(info->mode);
    std::vector<testsupport::ToolEncoding> tool =
        testsupport::RunReferenceToolBatch(info->mode, messages);
    int lowestHeadroom = 512;
    for (std::size_t i = 0; i < messages.size(); ++i) {
      ChipEncoding chip = testonchip::EncodeOnChip(*firmware, messages[i]);
      ASSERT_TRUE(chip.finished) << messages[i];
      EXPECT_EQ(chip.status, 0) << messages[i];
      EXPECT_TRUE(tool[i].ok) << messages[i] << ": " << tool[i].error;
      EXPECT_EQ(chip.tones, tool[i].tones) << messages[i];
      lowestHeadroom = std::min(lowestHeadroom, chip.headroom);
    }
    std::printf("%s on an ATtiny85: %u B static, %d B never reached by the stack\n", name.c_str(),
                firmware->staticBytes, lowestHeadroom);
    EXPECT_GT(lowestHeadroom, 0) << "the stack ran into the static data";
  }
  if (built == 0) GTEST_SKIP() << "no mode is built for the ATtiny85 yet";
}

// The Arduino library's example sketches, built as Arduino builds them (the core's C files by
// avr-gcc, the sketch as C++ by avr-g++) against a stand-in Arduino core whose Serial prints into
// RAM, and run in simavr: each prints its message's tones, the tool's tones.
TEST(OnChipArduino, ExampleSketchesPrintTheToolsTones) {
  NEED_TOOL("avr-g++", "package gcc-avr");
  namespace fs = std::filesystem;
  const fs::path library = ARDUINO_LIBRARY_DIR;
  ASSERT_TRUE(fs::exists(library / "library.properties")) << "the Arduino library was not made";
  testsupport::TempFolder scratch;
  const std::string stub =
      std::string(QUORVEL_SOURCE_DIR) + "/tests/outside/on-air/onchip/arduino-stub";
  const std::string flags =
      " -mmcu=atmega328p -Os -Wall -Wextra -ffunction-sections "
      "-fdata-sections -I" +
      testsupport::ShellQuote(stub) + " -I" + testsupport::ShellQuote((library / "src").string());
  auto run = [&](const std::string& command) {
    std::string log = (scratch.path / "log.txt").string();
    int status = std::system((command + " >" + testsupport::ShellQuote(log) + " 2>&1").c_str());
    return std::make_pair(status, testsupport::ReadFileBytes(log));
  };
  std::string objects;
  int n = 0;
  for (const auto& entry : fs::recursive_directory_iterator(library / "src")) {
    if (entry.path().extension() != ".c") continue;
    std::string object = (scratch.path / ("core" + std::to_string(n++) + ".o")).string();
    auto [status, log] = run("avr-gcc -std=gnu11" + flags + " -c " +
                             testsupport::ShellQuote(entry.path().string()) + " -o " + object);
    ASSERT_EQ(status, 0) << log;
    objects += " " + object;
  }
  int sketches = 0;
  std::vector<std::string> built = testonchip::BuiltModes();
  for (const auto& entry : fs::directory_iterator(library / "examples")) {
    std::string name = entry.path().filename().string();  // Jt65Tones
    std::string mode = name.substr(0, name.find("Tones"));
    for (char& c : mode) c = char(std::tolower(static_cast<unsigned char>(c)));
    if (std::find(built.begin(), built.end(), mode) == built.end()) continue;
    SCOPED_TRACE(name);
    ++sketches;
    std::string elf = (scratch.path / (name + ".elf")).string();
    auto [status, log] =
        run("avr-g++" + flags + " -Wl,--gc-sections -o " + elf + " -x c++ " +
            testsupport::ShellQuote((entry.path() / (name + ".ino")).string()) + " -x none " +
            testsupport::ShellQuote(stub + "/arduino-stub.cpp") + objects);
    ASSERT_EQ(status, 0) << log;
    EXPECT_EQ(log, "") << "warnings";
    std::string error;
    std::string printed = testonchip::RunToEndAndRead(elf, "atmega328p", "qv_serial", error);
    ASSERT_EQ(error, "");
    // "MESSAGE: N tones", then the tones.
    std::size_t colon = printed.find(": ");
    ASSERT_NE(colon, std::string::npos) << printed;
    std::string message = printed.substr(0, colon);
    std::vector<int> tones;
    std::istringstream numbers(printed.substr(printed.find('\n') + 1));
    for (int tone; numbers >> tone;) tones.push_back(tone);
    testsupport::ToolEncoding want =
        testsupport::RunReferenceTool(modes::FindMode(mode)->mode, message);
    ASSERT_TRUE(want.ok) << want.error;
    EXPECT_EQ(tones, want.tones) << printed;
  }
  if (sketches == 0) GTEST_SKIP() << "no mode with an example sketch is built yet";
}

INSTANTIATE_TEST_SUITE_P(Modes, OnChipReference, testing::ValuesIn(testonchip::BuiltModes()),
                         [](const testing::TestParamInfo<std::string>& info) {
                           return info.param;
                         });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(OnChipReference);

}  // namespace
