// JT4's channel: each of the 206 interleaved bits goes as one of four tones, the data bit over a
// sync bit. Some report messages invert every sync bit, which a receiver can see without
// decoding; the data bits stay as they are. The encoder core does it; these are its C++ faces.
#pragma once

#include <string>

#include "modes/bits.h"

namespace jt4 {

// True when a message (normalised, without OOO) is sent with inverted sync: its first "-" stands
// at place 8 or later and is followed by 0, 1, 2 or 3.
bool InvertsSync(const std::string& message);

const modes::Bits& SyncVector();

}  // namespace jt4
