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

// A bit string as the encoder core holds it: bytes, the first bit in the top bit of byte 0.
inline std::vector<std::uint8_t> BytesOfBits(const Bits& bits) {
  std::vector<std::uint8_t> bytes((bits.size() + 7) / 8, 0);
  for (std::size_t i = 0; i < bits.size(); ++i)
    if (bits[i]) bytes[i / 8] |= std::uint8_t(0x80 >> (i % 8));
  return bytes;
}

inline Bits BitsOfBytes(const std::uint8_t* bytes, std::size_t count) {
  Bits bits(count);
  for (std::size_t i = 0; i < count; ++i) bits[i] = (bytes[i / 8] >> (7 - i % 8)) & 1;
  return bits;
}

inline std::uint64_t ReadBits(const Bits& bits, std::size_t start, int count) {
  std::uint64_t value = 0;
  for (int i = 0; i < count; ++i) value = (value << 1) | bits[start + std::size_t(i)];
  return value;
}

}  // namespace modes
