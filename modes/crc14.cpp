// The 14-bit CRC of the FT8 and FT4 messages through the encoder core, for callers holding bits
// one per byte.
#include "modes/crc14.h"

#include "modes/core/ft/qvf-codeword.h"
#include "modes/message77.h"

namespace ft {

std::uint32_t Crc14(const modes::Bits& bits77) {
  return qvf_crc14(PackedBits77(bits77).data());
}

}  // namespace ft
