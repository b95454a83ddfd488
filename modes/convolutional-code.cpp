// The convolutional encoder: a 32-bit shift register that takes the newest bit at its low end.
#include "modes/convolutional-code.h"

#include <bit>
#include <cstdint>

namespace modes {
namespace {

constexpr std::uint32_t kGenerator1 = 0xF2D05351;
constexpr std::uint32_t kGenerator2 = 0xE4613C47;

std::uint8_t Parity(std::uint32_t word) {
  return std::uint8_t(std::popcount(word) & 1);
}

}  // namespace

Bits ConvolutionalEncode(const Bits& message) {
  Bits coded;
  coded.reserve(2 * (message.size() + kConvolutionalTail));
  std::uint32_t state = 0;
  auto shiftIn = [&](std::uint8_t bit) {
    state = (state << 1) | (bit & 1u);
    coded.push_back(Parity(state & kGenerator1));
    coded.push_back(Parity(state & kGenerator2));
  };
  for (std::uint8_t bit : message) shiftIn(bit);
  for (int i = 0; i < kConvolutionalTail; ++i) shiftIn(0);
  return coded;
}

}  // namespace modes
