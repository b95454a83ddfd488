// The chips a schedule can be checked against: their data EEPROM and program memory, from the
// manufacturers' datasheets.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "qvcode/formats.h"

namespace qvcode {

enum class Family { kPic, kAvr };

struct Target {
  std::string_view name;     // as typed: "16f628a", "atmega328p"
  std::string_view display;  // "PIC16F628A", "ATmega328P"
  Family family;
  std::size_t eepromBytes;
  std::size_t programUnits;  // PIC: 14-bit words; AVR: bytes of flash
};

const Target* FindTarget(std::string_view name);  // case-insensitive; a "pic" prefix is optional
std::string TargetNames();

std::size_t UnitsAvailable(const Target& target, Memory memory);
std::string MemoryName(const Target& target, Memory memory);  // "bytes of data EEPROM", ...
std::string UnitName(const Target& target, Memory memory);    // "bytes" or "words"

// The --verbose lines: the memory each message and the whole run take, and the chips it fits.
std::string MemoryReport(const Run& run, Memory memory);
// Empty when the run fits the target; otherwise why not, in words.
std::string CheckFits(const Run& run, Memory memory, const Target& target);

}  // namespace qvcode
