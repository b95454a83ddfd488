// A firmware of the encoder core running in simavr's library, one message after another: the
// harness writes a message into the firmware's exchange block (found through the ELF symbol
// table), lets the chip run until the firmware says it is done, and reads back the status, the
// channel symbols and the tones, with the cycles and the stack the encode took. One loaded
// firmware serves many messages, so a run of hundreds costs one start of the chip.
//
// The exchange block `qv_io` and the buffers `qv_symbols`, `qv_tones` are what
// onchip-firmware.c defines; the layout below is its struct, byte for byte.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct avr_t;

namespace testonchip {

struct ChipEncoding {
  bool finished = false;  // the firmware came back within the cycle limit and did not crash
  std::uint8_t status = 0;
  std::uint32_t changes = 0;
  std::vector<int> symbols;
  std::vector<int> tones;
  std::uint64_t cycles = 0;  // from the message handed over to the tones written
  unsigned stackBytes = 0;   // the deepest the stack went below where the firmware waits
  int headroom = 0;          // bytes left between the static data and the deepest the stack went
};

struct ChipFirmware {
  avr_t* chip = nullptr;
  std::string error;  // why the firmware could not be loaded or started; empty when it runs
  std::uint16_t io = 0, symbols = 0, tones = 0;  // data-space addresses
  unsigned textCapacity = 0, symbolCount = 0, toneCount = 0;
  unsigned staticBytes = 0;  // .data and .bss of the whole firmware
  unsigned staticEnd = 0;    // the data-space address after them
};

struct ChipDeleter {
  void operator()(ChipFirmware* firmware) const;
};
using ChipHandle = std::unique_ptr<ChipFirmware, ChipDeleter>;

// Loads an ELF built for mcu ("atmega328p", "attiny85") and runs it until it waits for a message.
// The handle's error says what went wrong, if anything.
ChipHandle LoadFirmware(const std::string& elfPath, const std::string& mcu);

// Hands one message to a running firmware and reads what it wrote.
ChipEncoding EncodeOnChip(ChipFirmware& firmware, std::string_view text);

// Runs a firmware from reset until it sleeps with interrupts off and gives the NUL-terminated text
// at the data symbol `buffer`; error says why not, if it did not get there.
std::string RunToEndAndRead(const std::string& elfPath, const std::string& mcu, const char* buffer,
                            std::string& error);

}  // namespace testonchip
