// The binary Gray code, under which neighbouring values differ in one bit: a tone mistaken for its
// neighbour then costs one bit. The encoder core codes; undoing it is the receiver's side.
#pragma once

#include "modes/core/common/qvc-bits.h"

namespace modes {

inline int GrayCode(int value) {
  return qvc_gray(static_cast<std::uint8_t>(value));
}

constexpr int UndoGrayCode(int gray) {
  int value = gray;
  for (int shift = 1; shift < 16; shift <<= 1) value ^= value >> shift;
  return value;
}

}  // namespace modes
