// Whole numbers a little wider than 64 bits (the 71-bit free text and telemetry of the 77-bit
// messages), held as two 36-bit halves, with just the arithmetic the packing needs.
#pragma once

#include <cstdint>

#include "modes/bits.h"

namespace modes {

struct WideNumber {
  static constexpr int kHalfBits = 36;
  static constexpr std::uint64_t kHalfMask = (std::uint64_t(1) << kHalfBits) - 1;
  std::uint64_t high = 0;
  std::uint64_t low = 0;

  // this = this * factor + add, for factor and add below 2^20.
  void MultiplyAdd(std::uint32_t factor, std::uint32_t add) {
    low = low * factor + add;
    high = high * factor + (low >> kHalfBits);
    low &= kHalfMask;
  }

  // this = this / divisor, giving the remainder, for a divisor below 2^20.
  std::uint32_t Divide(std::uint32_t divisor) {
    std::uint64_t remainder = high % divisor;
    high /= divisor;
    std::uint64_t rest = (remainder << kHalfBits) | low;
    low = rest / divisor;
    return std::uint32_t(rest % divisor);
  }

  bool IsZero() const { return high == 0 && low == 0; }
  // The number of bits needed to write the number.
  int Width() const {
    int width = 0;
    for (std::uint64_t h = high; h != 0; h >>= 1) ++width;
    if (width > 0) return width + kHalfBits;
    for (std::uint64_t l = low; l != 0; l >>= 1) ++width;
    return width;
  }
};

// The lowest count bits (36 < count <= 72) of a wide number, most significant first.
inline void AppendBits(Bits& bits, const WideNumber& number, int count) {
  AppendBits(bits, number.high, count - WideNumber::kHalfBits);
  AppendBits(bits, number.low, WideNumber::kHalfBits);
}

inline WideNumber ReadWideBits(const Bits& bits, std::size_t start, int count) {
  WideNumber number;
  number.high = ReadBits(bits, start, count - WideNumber::kHalfBits);
  number.low =
      ReadBits(bits, start + std::size_t(count - WideNumber::kHalfBits), WideNumber::kHalfBits);
  return number;
}

}  // namespace modes
