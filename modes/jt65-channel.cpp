// Interleaving and Gray coding of the 63 codeword symbols.
#include "modes/jt65-channel.h"

namespace jt65 {

Codeword Interleave(const Codeword& in) {
  Codeword out{};
  for (int r = 0; r < 7; ++r) {
    for (int q = 0; q < 9; ++q) out[9 * r + q] = in[7 * q + r];
  }
  return out;
}

Codeword Deinterleave(const Codeword& in) {
  Codeword out{};
  for (int r = 0; r < 7; ++r) {
    for (int q = 0; q < 9; ++q) out[7 * q + r] = in[9 * r + q];
  }
  return out;
}

Codeword GrayCode(const Codeword& in) {
  Codeword out{};
  for (std::size_t i = 0; i < in.size(); ++i) out[i] = in[i] ^ (in[i] >> 1);
  return out;
}

Codeword UndoGrayCode(const Codeword& in) {
  Codeword out{};
  for (std::size_t i = 0; i < in.size(); ++i) {
    int v = in[i];
    v ^= v >> 1;
    v ^= v >> 2;
    v ^= v >> 4;
    out[i] = v;
  }
  return out;
}

ChannelSymbols ToChannelSymbols(const Codeword& codeword) {
  return GrayCode(Interleave(codeword));
}

Codeword FromChannelSymbols(const ChannelSymbols& symbols) {
  return Deinterleave(UndoGrayCode(symbols));
}

}  // namespace jt65
