// FT8's channel: 58 eight-level data tones from the 174-bit codeword, framed by three Costas arrays
// into 79 tones.
#pragma once

#include <vector>

#include "modes/bits.h"

namespace ft {

struct FtTones {
  std::vector<int> data;  // the information-carrying tones
  std::vector<int> all;   // the whole transmitted sequence
};

FtTones Ft8Tones(const modes::Bits& codeword174);

}  // namespace ft
