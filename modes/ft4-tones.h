// FT4's channel: the scrambling of the 77 message bits, and 87 four-level data tones from the
// 174-bit codeword framed by four Costas arrays and two ramp slots into 105 tones.
#pragma once

#include "modes/bits.h"
#include "modes/ft8-tones.h"

namespace ft {

// The message bits XORed with FT4's fixed vector, which keeps an all-zero message off the air.
modes::Bits Ft4Scramble(const modes::Bits& bits77);

FtTones Ft4Tones(const modes::Bits& codeword174);

}  // namespace ft
