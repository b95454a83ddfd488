// A firmware's flash image from an ELF file or an Intel HEX file, read by the bench itself so that
// qvbench needs no ELF library: the loadable segments (ELF) or the records (HEX) below the AVR
// toolchain's EEPROM and fuse addresses.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qvbench {

// The bytes of flash from address 0; false with an error in words.
bool ReadFirmware(const std::string& path, std::vector<std::uint8_t>& flash, std::string& error);

}  // namespace qvbench
