// Bit strings as the modes pass them from packing to coding: one bit a byte, first bit first, and
// numbers written into and read out of them most significant bit first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace modes {

using Bits = std::vector<std::uint8_t>;

inline void AppendBits(Bits& bits, std::uint64_t value, int count) {
  for (int bit = count - 1; bit >= 0; --bit) bits.push_back(std::uint8_t((value >> bit) & 1));
}

// A bit string written out as '0' and '1' characters, the way the fact tables print them.
inline Bits BitsOfText(std::string_view ones_and_zeros) {
  Bits bits;
  for (char c : ones_and_zeros) bits.push_back(c == '1');
  return bits;
}

inline std::uint64_t ReadBits(const Bits& bits, std::size_t start, int count) {
  std::uint64_t value = 0;
  for (int i = 0; i < count; ++i) value = (value << 1) | bits[start + std::size_t(i)];
  return value;
}

}  // namespace modes
