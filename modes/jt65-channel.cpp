// Interleaving and Gray coding of the 63 codeword symbols.
#include "modes/jt65-channel.h"

#include "modes/gray-code.h"

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
  for (std::size_t i = 0; i < in.size(); ++i) out[i] = modes::GrayCode(in[i]);
  return out;
}

Codeword UndoGrayCode(const Codeword& in) {
  Codeword out{};
  for (std::size_t i = 0; i < in.size(); ++i) out[i] = modes::UndoGrayCode(in[i]);
  return out;
}

ChannelSymbols ToChannelSymbols(const Codeword& codeword) {
  return GrayCode(Interleave(codeword));
}

Codeword FromChannelSymbols(const ChannelSymbols& symbols) {
  return Deinterleave(UndoGrayCode(symbols));
}

}  // namespace jt65
