// The binary Gray code, under which neighbouring values differ in one bit: a tone mistaken for its
// neighbour then costs one bit. JT65 and JT9 use it on their channel symbols.
#pragma once

namespace modes {

constexpr int GrayCode(int value) {
  return value ^ (value >> 1);
}

constexpr int UndoGrayCode(int gray) {
  int value = gray;
  for (int shift = 1; shift < 16; shift <<= 1) value ^= value >> shift;
  return value;
}

}  // namespace modes
