// The chips a schedule can be checked against: their memories, from the manufacturers'
// datasheets, and where each format's tables land in them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "qvcode/formats.h"

namespace qvcode {

struct Target {
  std::string_view name;     // as typed: "16f628a", "atmega328p"
  std::string_view display;  // "PIC16F628A", "ATmega328P"
  Family family;
  std::size_t eepromBytes;
  std::size_t programUnits;  // PIC: 14-bit words; AVR: bytes of flash
  std::size_t ramBytes;      // AVR: SRAM, where a C array without PROGMEM lands
  // AVR: the flash the smallest C program takes besides its tables (interrupt vectors and
  // avr-libc's start-up code), as avr-gcc -Os links `int main(void) { return 0; }` with them.
  std::size_t startupFlashBytes;
};

// Where a chip keeps a table: a C array without PROGMEM lands in an AVR's RAM.
enum class Place { kDataEeprom, kProgram, kRam };

const Target* FindTarget(std::string_view name);  // case-insensitive; a "pic" prefix is optional
std::string TargetNames();

// The PIC16 parts' data EEPROM, as the word address of their hex files.
constexpr std::uint32_t kPicEepromWord = 0x2100;

Place PlaceOf(const Format& format, bool progmem, Family family);

// The --verbose lines: the memory each message and the whole run take, and the chips it fits.
std::string MemoryReport(const Run& run, const Format& format);
// Empty when the run, starting at run.address where the format takes one, fits the target;
// otherwise why not, in words.
std::string CheckFits(const Run& run, const Format& format, const Target& target);

}  // namespace qvcode
