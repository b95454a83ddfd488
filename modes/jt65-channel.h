// From codeword to channel symbols: the 7 x 9 interleave, which spreads a burst of lost tones
// over many codeword symbols, then the Gray code, so that a tone mistaken for its neighbour costs
// one bit.
#pragma once

#include "modes/reed-solomon.h"

namespace jt65 {

using ChannelSymbols = Codeword;

// Reads the codeword as 9 rows of 7 column by column: out[9r + q] = in[7q + r].
Codeword Interleave(const Codeword& in);
Codeword Deinterleave(const Codeword& in);

Codeword GrayCode(const Codeword& in);
Codeword UndoGrayCode(const Codeword& in);

ChannelSymbols ToChannelSymbols(const Codeword& codeword);
Codeword FromChannelSymbols(const ChannelSymbols& symbols);

}  // namespace jt65
