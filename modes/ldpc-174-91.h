// The LDPC (174,91) code that protects the 77-bit messages of FT8 and FT4.
#pragma once

#include <cstddef>

#include "modes/bits.h"

namespace ft {

inline constexpr std::size_t kLdpcMessageBits = 91;
inline constexpr std::size_t kParityBits = 83;

// The 174-bit codeword of 91 bits: the bits themselves, then the 83 parity bits.
modes::Bits EncodeLdpc174(const modes::Bits& message91);

}  // namespace ft
