// FT4's scrambling of the 77 message bits (the encoder core's), for callers holding bits one a
// byte.
#pragma once

#include "modes/bits.h"

namespace ft {

// The message bits XORed with FT4's fixed vector, which keeps an all-zero message off the air.
modes::Bits Ft4Scramble(const modes::Bits& bits77);

}  // namespace ft
