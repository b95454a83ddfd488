// The output formats: each turns the tables of a run into the text of one file. A format's row
// holds every rule that depends on it, so adding a format is adding a row.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "qvcode/tables.h"

namespace qvcode {

// Where a format's tables end up in the chip, for the memory figures and the target check.
enum class Memory { kDataEeprom, kProgram };

struct Format {
  std::string_view name = {};
  std::string_view summary = {};                // one line for --help
  Memory memory = Memory::kDataEeprom;          // where a chip keeps the tables
  std::optional<Family> family = std::nullopt;  // whose layout it writes; none: the target's
  bool takesAddress = false;                    // --address moves its start
  bool takesProgmem = false;                    // --progmem puts it in AVR flash
  bool crlf = false;  // lines end with CR LF (assembler and device programmer files)
  std::string (*write)(const Run& run) = nullptr;  // lines end with LF here
};

const Format* FindFormat(std::string_view name);  // case-insensitive
const Format& DefaultFormat();
std::string FormatNames();                 // "de, dt, ..." for messages
std::string FormatList();                  // a line per format, for --help
std::string FamilyName(Family family);     // "PIC"
std::string FamilyArticle(Family family);  // "a PIC", "an AVR"

// The text of the file a format makes of a run, with its line ends.
std::string WriteTables(const Format& format, const Run& run);

// The formats, one file each.
std::string WriteDe(const Run& run);
std::string WriteDt(const Run& run);
std::string WriteC(const Run& run);
std::string WriteIntelHex(const Run& run);
std::string WriteList(const Run& run);
std::string WriteJson(const Run& run);

}  // namespace qvcode
