// The 14-bit CRC that FT8 and FT4 append to the 77 message bits before the LDPC code.
#pragma once

#include <cstdint>

#include "modes/bits.h"

namespace ft {

// The CRC of 77 bits (five zero bits are appended first): polynomial 0x6757, initial value 0,
// most significant bit first, no final inversion.
std::uint32_t Crc14(const modes::Bits& bits77);

}  // namespace ft
