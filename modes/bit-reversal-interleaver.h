// The interleaver of WSPR, JT9 and JT4: coded bit k goes to the place whose number is the k-th
// of 0..255, read with its 8 bits reversed, that lies inside the block. Neighbouring coded bits
// land far apart, so a fade that wipes out a run of symbols costs the decoder scattered bits.
#pragma once

#include "modes/bits.h"

namespace modes {

// out[D[k]] = in[k] for a block of in.size() bits (at most 256).
Bits InterleaveBitReversal(const Bits& in);
// in[k] = out[D[k]]: the inverse.
Bits DeinterleaveBitReversal(const Bits& out);

}  // namespace modes
