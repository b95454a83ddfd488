// The whole WSPR encoding of one message: 50 source bits, the convolutional code, the
// interleaver, and the 162 four-level channel symbols, each a data bit over a sync bit.
#pragma once

#include <string_view>

#include "modes/bits.h"
#include "modes/core/wspr/qvw-wspr.h"
#include "modes/wspr-message.h"

namespace wspr {

inline constexpr int kSymbolCount = QVW_SYMBOLS;

struct Encoding {
  Packing packing;         // ok, error, notes, the source message
  modes::Bits source;      // 50 bits
  modes::Bits data;        // 162 interleaved coded bits
  std::vector<int> tones;  // 162 tones, 0-3: 2 * data + sync
  std::string decoded;
};

Encoding EncodeMessage(std::string_view text);

// Whether a receiver shows the words typed (in capitals, blanks collapsed), the power, the last
// word, compared as a number.
bool ShowsTheWordsTyped(std::string_view typed, std::string_view decoded);

// The 162 sync bits, the low bit of every channel symbol.
const modes::Bits& SyncVector();

}  // namespace wspr
