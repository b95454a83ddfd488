// The chips qvcode knows, and the memory a run takes on them.
#include "qvcode/targets.h"

#include <array>

#include "common/ascii.h"

namespace qvcode {
namespace {

// Data EEPROM bytes, program memory (PIC: words, AVR: bytes) and AVR SRAM from each part's
// datasheet; the AVR start-up code as avr-gcc 5.4 with avr-libc links it.
constexpr std::array kTargets = {
    Target{"12f629", "PIC12F629", Family::kPic, 128, 1024, 0, 0},
    Target{"12f675", "PIC12F675", Family::kPic, 128, 1024, 0, 0},
    Target{"16f84a", "PIC16F84A", Family::kPic, 64, 1024, 0, 0},
    Target{"16f628a", "PIC16F628A", Family::kPic, 128, 2048, 0, 0},
    Target{"16f648a", "PIC16F648A", Family::kPic, 256, 4096, 0, 0},
    Target{"16f88", "PIC16F88", Family::kPic, 256, 4096, 0, 0},
    Target{"16f877a", "PIC16F877A", Family::kPic, 256, 8192, 0, 0},
    Target{"attiny13a", "ATtiny13A", Family::kAvr, 64, 1024, 64, 44},
    Target{"attiny85", "ATtiny85", Family::kAvr, 512, 8192, 512, 58},
    Target{"atmega168", "ATmega168", Family::kAvr, 512, 16384, 1024, 138},
    Target{"atmega328p", "ATmega328P", Family::kAvr, 1024, 32768, 2048, 138},
};

std::string Plural(std::size_t count, std::string_view one) {
  return std::to_string(count) + " " + std::string(one) + (count == 1 ? "" : "s");
}

std::size_t UnitsAvailable(const Target& target, Place place) {
  switch (place) {
    case Place::kDataEeprom:
      return target.eepromBytes;
    case Place::kRam:
      return target.ramBytes;
    case Place::kProgram:
      break;
  }
  return target.programUnits - target.startupFlashBytes;
}

std::string UnitName(const Target& target, Place place) {
  return place == Place::kProgram && target.family == Family::kPic ? "word" : "byte";
}

std::string PlaceName(Place place, Family family) {
  switch (place) {
    case Place::kDataEeprom:
      return "data EEPROM";
    case Place::kRam:
      return "RAM";
    case Place::kProgram:
      break;
  }
  return family == Family::kPic ? "program memory" : "flash";
}

// How far into its memory the run starts: an Intel HEX --address within the data EEPROM.
std::size_t Offset(const Run& run, const Format& format) {
  if (!format.takesAddress) return 0;
  return run.layout == Family::kPic ? run.address - kPicEepromWord : run.address;
}

}  // namespace

const Target* FindTarget(std::string_view name) {
  if (name.size() > 3 && ascii::EqualIgnoringCase(name.substr(0, 3), "pic")) name.remove_prefix(3);
  for (const Target& target : kTargets)
    if (ascii::EqualIgnoringCase(target.name, name)) return &target;
  return nullptr;
}

std::string TargetNames() {
  return ascii::JoinNames(kTargets, [](const Target& target) { return std::string(target.name); });
}

Place PlaceOf(const Format& format, bool progmem, Family family) {
  if (format.memory == Memory::kDataEeprom) return Place::kDataEeprom;
  if (family == Family::kAvr && format.takesProgmem && !progmem) return Place::kRam;
  return Place::kProgram;
}

std::string MemoryReport(const Run& run, const Format& format) {
  std::size_t each = BytesPerTable(run);
  std::size_t beacon = BeaconBytes(run).size();  // synthesiser rows, identifications
  std::size_t total = each * run.tables.size() + beacon;
  std::string out;
  for (std::size_t i = 0; i < run.tables.size(); ++i) {
    const Table& table = run.tables[i];
    out += "qvcode: " + TableName(run, i) + " \"" + table.encoding.decoded +
           "\": " + Plural(each, "byte") + " (" + Plural(table.values.size(), "value") + ")\n";
  }
  Place picPlace = PlaceOf(format, run.progmem, Family::kPic);
  Place avrPlace = PlaceOf(format, run.progmem, Family::kAvr);
  std::string where = picPlace == Place::kDataEeprom ? "data EEPROM"
                      : avrPlace == Place::kRam      ? "program memory (AVR: RAM)"
                                                     : "program memory";
  if (beacon > 0)
    out += "qvcode: synthesiser rows and identifications: " + Plural(beacon, "byte") + "\n";
  out += "qvcode: " + Describe(run) + ", " + Plural(run.tables.size(), "message") + ": " +
         Plural(total, "byte") + " of " + where + " in all\n";
  // Intel HEX and plain lists have no room for a comment: the rule is told here.
  for (const std::string& line : PackingRule(run)) out += "qvcode: " + line + "\n";
  std::string fits, tooSmall;
  for (const Target& target : kTargets) {
    Place place = PlaceOf(format, run.progmem, target.family);
    std::size_t have = UnitsAvailable(target, place);
    std::string entry = std::string(target.display) + " (" + Plural(have, UnitName(target, place)) +
                        (place == Place::kRam ? " of RAM" : "") + ")";
    std::string& list = total <= have ? fits : tooSmall;
    list += (list.empty() ? "" : ", ") + entry;
  }
  if (!fits.empty()) out += "qvcode: fits the " + where + " of " + fits + "\n";
  if (!tooSmall.empty()) out += "qvcode: too big for " + tooSmall + "\n";
  return out;
}

std::string CheckFits(const Run& run, const Format& format, const Target& target) {
  // A byte of a table takes a byte of EEPROM, AVR flash or RAM, or one RETLW word of PIC program
  // memory.
  Place place = PlaceOf(format, run.progmem, target.family);
  std::size_t tables = BytesPerTable(run) * run.tables.size() + BeaconBytes(run).size();
  std::size_t offset = Offset(run, format);
  std::size_t have = UnitsAvailable(target, place);
  if (offset + tables <= have) return {};
  std::string unit = UnitName(target, place);
  std::string need = "the " + Plural(run.tables.size(), "message") +
                     (run.tables.size() == 1 ? " needs " : " need ") + Plural(tables, unit) +
                     " of " + PlaceName(place, target.family);
  if (offset != 0)
    return need + " from byte " + std::to_string(offset) + " on, and the " +
           std::string(target.display) + " has " + Plural(have, unit);
  std::string chip = std::string(target.display) + " has " + Plural(have, unit);
  if (place == Place::kProgram && target.startupFlashBytes != 0)
    chip += " beside the " + std::to_string(target.startupFlashBytes) +
            " its C start-up code takes (--progmem)";
  if (place == Place::kRam) chip += " (--progmem puts C arrays in flash)";
  return need + ", and the " + chip;
}

}  // namespace qvcode
