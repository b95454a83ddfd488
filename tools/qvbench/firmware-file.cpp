// ELF: the 32-bit little-endian header, then each PT_LOAD program header's file bytes placed at
// its physical (load) address, as avr-objcopy places them in a HEX file. HEX: data records (00)
// with extended segment (02) and linear (04) address records, ending at the end record (01).
#include "tools/qvbench/firmware-file.h"

#include <fstream>
#include <iterator>
#include <sstream>

namespace qvbench {
namespace {

// Above this the AVR toolchain puts EEPROM (0x810000), fuses and lock bits.
constexpr std::uint32_t kFlashEnd = 0x800000;

std::uint32_t Little(const std::string& bytes, size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | std::uint8_t(bytes[at + i]);
  return value;
}

void Place(std::vector<std::uint8_t>& flash, std::uint32_t address, const std::uint8_t* bytes,
           size_t count) {
  if (flash.size() < address + count) flash.resize(address + count, 0xFF);
  std::copy(bytes, bytes + count, flash.begin() + address);
}

bool ReadElf(const std::string& file, std::vector<std::uint8_t>& flash, std::string& error) {
  if (file.size() < 52 || file[4] != 1 || file[5] != 1) {
    error = "not a 32-bit little-endian ELF file";
    return false;
  }
  const std::uint32_t table = Little(file, 28, 4);
  const std::uint32_t entrySize = Little(file, 42, 2), entries = Little(file, 44, 2);
  for (std::uint32_t i = 0; i < entries; ++i) {
    const size_t at = table + size_t(i) * entrySize;
    if (at + 32 > file.size()) break;
    const std::uint32_t type = Little(file, at, 4), offset = Little(file, at + 4, 4);
    const std::uint32_t address = Little(file, at + 12, 4), size = Little(file, at + 16, 4);
    if (type != 1 || size == 0 || address >= kFlashEnd) continue;  // PT_LOAD in flash only
    if (offset + size > file.size()) {
      error = "a segment lies beyond the end of the file";
      return false;
    }
    Place(flash, address, reinterpret_cast<const std::uint8_t*>(file.data()) + offset, size);
  }
  return true;
}

bool ReadHex(const std::string& file, std::vector<std::uint8_t>& flash, std::string& error) {
  std::istringstream lines(file);
  std::uint32_t base = 0;
  for (std::string line; std::getline(lines, line);) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    if (line.empty()) continue;
    std::vector<std::uint8_t> record;
    for (size_t i = 1; line[0] == ':' && i + 1 < line.size(); i += 2)
      record.push_back(std::uint8_t(std::stoi(line.substr(i, 2), nullptr, 16)));
    std::uint8_t sum = 0;
    for (std::uint8_t b : record) sum += b;
    if (line[0] != ':' || record.size() < 5 || record.size() != record[0] + 5u || sum != 0) {
      error = "a line of the HEX file is not a valid record: " + line;
      return false;
    }
    const std::uint32_t address = base + (std::uint32_t(record[1]) << 8 | record[2]);
    switch (record[3]) {
      case 0:
        if (address < kFlashEnd) Place(flash, address, &record[4], record[0]);
        break;
      case 1:
        return true;
      case 2:
        base = (std::uint32_t(record[4]) << 8 | record[5]) << 4;
        break;
      case 4:
        base = (std::uint32_t(record[4]) << 8 | record[5]) << 16;
        break;
    }
  }
  return true;
}

}  // namespace

bool ReadFirmware(const std::string& path, std::vector<std::uint8_t>& flash, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read " + path;
    return false;
  }
  const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  flash.clear();
  const bool elf = file.size() >= 4 && file.compare(0, 4,
                                                    "\x7f"
                                                    "ELF") == 0;
  if (!(elf ? ReadElf(file, flash, error) : ReadHex(file, flash, error))) {
    error = path + ": " + error;
    return false;
  }
  if (flash.empty()) {
    error = path + " holds no program";
    return false;
  }
  return true;
}

}  // namespace qvbench
