// JT9's channel: the 206 coded bits of the 72-bit message (and one zero bit) cut into 69
// three-bit values, Gray-coded, and laid among 16 sync symbols as 85 tones of nine: tone 0 is
// sync, a data value g goes as tone g + 1. The encoder core does it; these are its C++ faces.
#pragma once

#include <array>
#include <vector>

#include "modes/bits.h"

namespace jt9 {

inline constexpr int kDataSymbols = 69;
inline constexpr int kToneCount = 85;

// The 0-based places of the sync tone.
inline constexpr std::array<int, 16> kSyncPositions = {0,  1,  4,  9,  15, 22, 32, 34,
                                                       50, 51, 54, 59, 65, 72, 82, 84};

// The 69 Gray-coded three-bit values of 206 interleaved bits.
std::vector<int> DataSymbols(const modes::Bits& interleaved);

// The 85 tones, sync included.
std::vector<int> Tones(const std::vector<int>& data);

}  // namespace jt9
