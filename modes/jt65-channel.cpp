// Interleaving and Gray coding of the 63 codeword symbols: the encoder core does both in one
// pass; the inverse, for showing what a receiver prints, is here.
#include "modes/jt65-channel.h"

#include "modes/core/jt/qvj-jt65.h"
#include "modes/gray-code.h"

namespace jt65 {

Codeword Interleave(const Codeword& in) {
  return UndoGrayCode(ToChannelSymbols(in));
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
  std::uint8_t in[63];
  std::uint8_t out[63];
  for (int i = 0; i < 63; ++i) in[i] = std::uint8_t(codeword[i] & 63);
  qvj_jt65_channel_symbols(in, out);
  ChannelSymbols symbols{};
  for (int i = 0; i < 63; ++i) symbols[i] = out[i];
  return symbols;
}

Codeword FromChannelSymbols(const ChannelSymbols& symbols) {
  return Deinterleave(UndoGrayCode(symbols));
}

}  // namespace jt65
