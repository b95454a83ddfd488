// The K = 32, rate 1/2 convolutional code that WSPR, JT9 and JT4 share: every message bit becomes
// two coded bits, each the parity of the last 32 message bits under one of two generator masks.
#pragma once

#include "modes/bits.h"
#include "modes/core/common/qvc-convolutional.h"

namespace modes {

// The 31 zero bits that follow the message and bring the encoder back to its all-zero state.
inline constexpr int kConvolutionalTail = QVC_CONVOLUTIONAL_TAIL;

// The coded bits of message followed by its tail: 2 * (message.size() + 31) bits, the bit of the
// first generator before that of the second for each input bit.
Bits ConvolutionalEncode(const Bits& message);

}  // namespace modes
