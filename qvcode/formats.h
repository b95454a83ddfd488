// The output formats: each turns the tables of a run into the text of one file.
#pragma once

#include <string>
#include <string_view>

#include "qvcode/tables.h"

namespace qvcode {

// Where a format's tables end up in the chip, for the memory figures and the target check.
enum class Memory { kDataEeprom, kProgram };

struct Format {
  std::string_view name;
  std::string_view summary;  // one line for --help
  Memory memory;
  std::string (*write)(const Run& run);
};

const Format* FindFormat(std::string_view name);
const Format& DefaultFormat();
std::string FormatNames();  // "de, dt, ..." for messages
std::string FormatList();   // a line a format, for --help

// The formats, one file each.
std::string WriteDe(const Run& run);
std::string WriteDt(const Run& run);
std::string WriteC(const Run& run);
std::string WriteIntelHex(const Run& run);
std::string WriteList(const Run& run);
std::string WriteJson(const Run& run);

}  // namespace qvcode
