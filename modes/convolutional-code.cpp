// The convolutional encoder of the encoder core over a whole bit string.
#include "modes/convolutional-code.h"

#include <cstdint>

#include "modes/core/common/qvc-convolutional.h"

namespace modes {

Bits ConvolutionalEncode(const Bits& message) {
  Bits coded;
  coded.reserve(2 * (message.size() + kConvolutionalTail));
  std::uint32_t state = 0;
  auto shiftIn = [&](std::uint8_t bit) {
    std::uint8_t pair = qvc_convolve_bit(&state, bit);
    coded.push_back(std::uint8_t(pair >> 1));
    coded.push_back(std::uint8_t(pair & 1));
  };
  for (std::uint8_t bit : message) shiftIn(bit);
  for (int i = 0; i < kConvolutionalTail; ++i) shiftIn(0);
  return coded;
}

}  // namespace modes
