// The Intel HEX format: the tables one after another as a data EEPROM image for a device
// programmer. A PIC's EEPROM sits at word address 0x2100 of its hex file, one byte to a 16-bit word
// (low byte first, high byte 0); an AVR .eep image counts plain bytes from 0. A synthesiser's rows
// and Morse identifications follow the message tables (tables.h: BeaconBytes).
#include <cstdio>
#include <map>

#include "qvcode/formats.h"

namespace qvcode {
namespace {

constexpr std::size_t kBytesPerRecord = 16;

std::string Record(int type, std::uint32_t address, const std::vector<std::uint8_t>& data) {
  char text[16];
  std::snprintf(text, sizeof text, ":%02X%04X%02X", unsigned(data.size()),
                unsigned(address & 0xFFFF), unsigned(type));
  std::string out = text;
  unsigned sum =
      unsigned(data.size()) + ((address >> 8) & 0xFF) + (address & 0xFF) + unsigned(type);
  for (std::uint8_t byte : data) {
    std::snprintf(text, sizeof text, "%02X", byte);
    out += text;
    sum += byte;
  }
  std::snprintf(text, sizeof text, "%02X", (0x100 - (sum & 0xFF)) & 0xFF);
  return out + text + "\n";
}

}  // namespace

std::string WriteIntelHex(const Run& run) {
  std::map<std::uint32_t, std::uint8_t> image;
  std::uint32_t at = (run.layout == Family::kAvr) ? run.address : run.address * 2;
  std::vector<std::uint8_t> bytes;
  for (const Table& table : run.tables)
    bytes.insert(bytes.end(), table.bytes.begin(), table.bytes.end());
  std::vector<std::uint8_t> beacon = BeaconBytes(run);
  bytes.insert(bytes.end(), beacon.begin(), beacon.end());
  for (std::uint8_t byte : bytes) {
    image[at++] = byte;
    if (!(run.layout == Family::kAvr)) image[at++] = 0;
  }
  std::string out;
  std::uint32_t upper = 0;  // the upper 16 address bits the last extended address record set
  for (auto next = image.begin(); next != image.end();) {
    std::uint32_t start = next->first;
    if ((start >> 16) != upper) {
      upper = start >> 16;
      out += Record(4, 0, {std::uint8_t(upper >> 8), std::uint8_t(upper)});
    }
    // A record holds consecutive bytes and stays within one 64 KiB segment.
    std::vector<std::uint8_t> data;
    while (next != image.end() && next->first == start + data.size() &&
           data.size() < kBytesPerRecord && (next->first >> 16) == upper) {
      data.push_back(next->second);
      ++next;
    }
    out += Record(0, start, data);
  }
  return out + Record(1, 0, {});
}

}  // namespace qvcode
