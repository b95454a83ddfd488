// The chips qvcode knows, and the memory a run takes on them.
#include "qvcode/targets.h"

#include <array>

namespace qvcode {
namespace {

// Data EEPROM bytes and program memory (PIC: words, AVR: bytes), from each part's datasheet.
constexpr std::array kTargets = {
    Target{"12f629", "PIC12F629", Family::kPic, 128, 1024},
    Target{"12f675", "PIC12F675", Family::kPic, 128, 1024},
    Target{"16f84a", "PIC16F84A", Family::kPic, 64, 1024},
    Target{"16f628a", "PIC16F628A", Family::kPic, 128, 2048},
    Target{"16f648a", "PIC16F648A", Family::kPic, 256, 4096},
    Target{"16f88", "PIC16F88", Family::kPic, 256, 4096},
    Target{"16f877a", "PIC16F877A", Family::kPic, 256, 8192},
    Target{"attiny13a", "ATtiny13A", Family::kAvr, 64, 1024},
    Target{"attiny85", "ATtiny85", Family::kAvr, 512, 8192},
    Target{"atmega168", "ATmega168", Family::kAvr, 512, 16384},
    Target{"atmega328p", "ATmega328P", Family::kAvr, 1024, 32768},
};

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

std::string Plural(std::size_t count, std::string_view one) {
  return std::to_string(count) + " " + std::string(one) + (count == 1 ? "" : "s");
}

}  // namespace

const Target* FindTarget(std::string_view name) {
  if (name.size() > 3 && SameIgnoringCase(name.substr(0, 3), "pic")) name.remove_prefix(3);
  for (const Target& target : kTargets)
    if (SameIgnoringCase(target.name, name)) return &target;
  return nullptr;
}

std::string TargetNames() {
  std::string names;
  for (const Target& target : kTargets)
    names += (names.empty() ? "" : ", ") + std::string(target.name);
  return names;
}

std::size_t UnitsAvailable(const Target& target, Memory memory) {
  return memory == Memory::kDataEeprom ? target.eepromBytes : target.programUnits;
}

std::string UnitName(const Target& target, Memory memory) {
  return memory == Memory::kProgram && target.family == Family::kPic ? "word" : "byte";
}

std::string MemoryName(const Target& target, Memory memory) {
  if (memory == Memory::kDataEeprom) return "data EEPROM";
  return target.family == Family::kPic ? "program memory" : "flash";
}

std::string MemoryReport(const Run& run, Memory memory) {
  std::size_t each = BytesPerTable(run);
  std::size_t total = each * run.tables.size();
  std::string where = memory == Memory::kDataEeprom ? "data EEPROM" : "program memory";
  std::string out;
  for (std::size_t i = 0; i < run.tables.size(); ++i) {
    const Table& table = run.tables[i];
    out += "qvcode: " + TableName(run, i) + " \"" + table.encoding.decoded +
           "\": " + Plural(each, "byte") + " (" + Plural(table.values.size(), "value") + ")\n";
    for (const std::string& note : table.encoding.notes) out += "qvcode:   " + note + "\n";
  }
  out += "qvcode: " + Describe(run) + ", " + Plural(run.tables.size(), "message") + ": " +
         Plural(total, "byte") + " of " + where + " in all\n";
  // Intel HEX and plain lists have no room for a comment: the rule is told here.
  for (const std::string& line : PackingRule(run)) out += "qvcode: " + line + "\n";
  std::string fits, tooSmall;
  for (const Target& target : kTargets) {
    std::size_t have = UnitsAvailable(target, memory);
    std::string entry =
        std::string(target.display) + " (" + Plural(have, UnitName(target, memory)) + ")";
    std::string& list = total <= have ? fits : tooSmall;
    list += (list.empty() ? "" : ", ") + entry;
  }
  if (!fits.empty()) out += "qvcode: fits the " + where + " of " + fits + "\n";
  if (!tooSmall.empty()) out += "qvcode: too big for " + tooSmall + "\n";
  return out;
}

std::string CheckFits(const Run& run, Memory memory, const Target& target) {
  // A byte of a table takes a byte of EEPROM or AVR flash, or one RETLW word of PIC program memory.
  std::size_t need = BytesPerTable(run) * run.tables.size();
  std::size_t have = UnitsAvailable(target, memory);
  if (need <= have) return {};
  std::string unit = UnitName(target, memory);
  return "the " + Plural(run.tables.size(), "message") + " need " + Plural(need, unit) + " of " +
         MemoryName(target, memory) + ", and the " + std::string(target.display) + " has " +
         Plural(have, unit);
}

}  // namespace qvcode
