// The table of output formats.
#include "qvcode/formats.h"

#include <array>

namespace qvcode {
namespace {

constexpr std::array kFormats = {
    Format{"de", "PIC data EEPROM lines, as the generator's include file", Memory::kDataEeprom,
           WriteDe},
    Format{"dt", "PIC program memory RETLW table, a label a message", Memory::kProgram, WriteDt},
    Format{"c", "C header: const unsigned char arrays (with --progmem for AVR)", Memory::kProgram,
           WriteC},
    Format{"hex", "Intel HEX data EEPROM image (PIC at word 0x2100; AVR .eep from 0)",
           Memory::kDataEeprom, WriteIntelHex},
    Format{"eep", "the same as hex with the AVR .eep layout", Memory::kDataEeprom, WriteIntelHex},
    Format{"list", "the numbers only, a line a message", Memory::kDataEeprom, WriteList},
    Format{"json", "mode, message, decoded text, symbols, tones, period, spacing",
           Memory::kDataEeprom, WriteJson},
};

}  // namespace

const Format* FindFormat(std::string_view name) {
  for (const Format& format : kFormats)
    if (format.name == name) return &format;
  return nullptr;
}

const Format& DefaultFormat() {
  return kFormats[0];
}

std::string FormatNames() {
  std::string names;
  for (const Format& format : kFormats)
    names += (names.empty() ? "" : ", ") + std::string(format.name);
  return names;
}

std::string FormatList() {
  std::string out;
  for (const Format& format : kFormats) {
    std::string name(format.name);
    name.resize(8, ' ');
    out += "    " + name + std::string(format.summary) + "\n";
  }
  return out;
}

}  // namespace qvcode
