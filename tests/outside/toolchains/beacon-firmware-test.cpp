// The example beacons build in the AVR toolchain around the beacon.h qvcode writes for them,
// warning-free, and fit their chips: the ATmega328P GPS beacon for WSPR over a band plan and for
// FT8, and the ATtiny85 WSPR beacon.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/outside/on-air/beacon-header.h"
#include "tests/support/needs-tool.h"
#include "tests/support/temp-folder.h"

namespace {

struct Build {
  const char* source;  // under examples/
  const char* mcu;
  modes::Mode mode;
  const char* message;
  std::vector<double> dialsHz;
  int flashBytes;
};

class BeaconFirmwareTest : public testsupport::TempFolderTest {};

TEST_F(BeaconFirmwareTest, BuildsAndFitsItsChip) {
  NEED_TOOL("avr-gcc", "packages gcc-avr, avr-libc");
  NEED_TOOL("avr-size", "package binutils-avr");
  const std::vector<Build> builds = {
      {"atmega328p-gps-beacon/gps-beacon.c",
       "atmega328p",
       modes::Mode::kWspr,
       "K1ABC FN42 37",
       {1836600, 3568600, 7038600, 10138700, 14095600},
       32768},
      {"atmega328p-gps-beacon/gps-beacon.c",
       "atmega328p",
       modes::Mode::kFt8,
       "CQ K1ABC FN42",
       {14074000},
       32768},
      {"attiny85-wspr/tiny-wspr.c",
       "attiny85",
       modes::Mode::kWspr,
       "K1ABC FN42 37",
       {10138700},
       8192},
  };
  for (const Build& b : builds) {
    SCOPED_TRACE(b.source + std::string(" ") + b.message);
    ASSERT_EQ(testonair::WriteBeaconHeader(b.mode, b.message, b.dialsHz, "K1ABC", "beacon.h"), "");
    ASSERT_EQ(testonair::BuildBeacon(b.source, b.mcu, ""), "");
    ASSERT_EQ(std::system("avr-size -A beacon.elf >size.txt"), 0);
    // avr-size -A: ".text SIZE ADDRESS", ".data SIZE ADDRESS": flash holds both.
    int flash = 0;
    std::string size = ReadFile("size.txt");
    for (const char* section : {"\n.text", "\n.data"})
      if (size_t at = size.find(section); at != std::string::npos)
        flash += std::atoi(size.c_str() + size.find_first_not_of(' ', at + std::strlen(section)));
    EXPECT_GT(flash, 0) << size;
    EXPECT_LE(flash, b.flashBytes) << size;
  }
}

}  // namespace
