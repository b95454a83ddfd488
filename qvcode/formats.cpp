// The table of output formats.
#include "qvcode/formats.h"

#include <array>

#include "common/ascii.h"

namespace qvcode {
namespace {

constexpr auto kFormats = std::to_array<Format>({
    {.name = "de",
     .summary = "PIC data EEPROM lines, as the generator's include file",
     .memory = Memory::kDataEeprom,
     .family = Family::kPic,
     .crlf = true,
     .write = WriteDe},
    {.name = "dt",
     .summary = "PIC program memory RETLW table, a label per message",
     .memory = Memory::kProgram,
     .family = Family::kPic,
     .crlf = true,
     .write = WriteDt},
    {.name = "c",
     .summary = "C header: const unsigned char arrays (with --progmem for AVR)",
     .memory = Memory::kProgram,
     .takesProgmem = true,
     .write = WriteC},
    {.name = "hex",
     .summary = "Intel HEX data EEPROM image (PIC at word 0x2100; AVR .eep from 0)",
     .memory = Memory::kDataEeprom,
     .takesAddress = true,
     .crlf = true,
     .write = WriteIntelHex},
    {.name = "eep",
     .summary = "the same as hex with the AVR .eep layout",
     .memory = Memory::kDataEeprom,
     .family = Family::kAvr,
     .takesAddress = true,
     .crlf = true,
     .write = WriteIntelHex},
    {.name = "list",
     .summary = "the numbers only, a line per message",
     .memory = Memory::kDataEeprom,
     .write = WriteList},
    {.name = "json",
     .summary = "mode, message, decoded text, symbols, tones, period, spacing",
     .memory = Memory::kDataEeprom,
     .write = WriteJson},
});

}  // namespace

const Format* FindFormat(std::string_view name) {
  for (const Format& format : kFormats)
    if (ascii::EqualIgnoringCase(format.name, name)) return &format;
  return nullptr;
}

const Format& DefaultFormat() {
  return kFormats[0];
}

std::string FormatNames() {
  return ascii::JoinNames(kFormats, [](const Format& format) { return std::string(format.name); });
}

std::string FormatList() {
  return ascii::ListedRows(
      kFormats, 4, [](const Format& format) { return format.name; },
      [](const Format& format) { return format.summary; });
}

std::string FamilyName(Family family) {
  return family == Family::kPic ? "PIC" : "AVR";
}

std::string FamilyArticle(Family family) {
  return family == Family::kPic ? "a PIC" : "an AVR";
}

std::string WriteTables(const Format& format, const Run& run) {
  std::string text = format.write(run);
  if (!format.crlf) return text;
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

}  // namespace qvcode
