// The 14-bit CRC of the FT8 and FT4 messages, computed one bit at a time.
#include "modes/crc14.h"

namespace ft {

std::uint32_t Crc14(const modes::Bits& bits77) {
  constexpr std::uint32_t kPolynomial = 0x2757;  // x^14 is implied
  std::uint32_t crc = 0;
  // The 77 bits are padded to 82, as the bytes the code was designed around hold them.
  for (std::size_t i = 0; i < bits77.size() + 5; ++i) {
    std::uint32_t in = i < bits77.size() ? bits77[i] : 0;
    std::uint32_t top = ((crc >> 13) & 1) ^ in;
    crc = (crc << 1) & 0x3FFF;
    if (top) crc ^= kPolynomial;
  }
  return crc;
}

}  // namespace ft
