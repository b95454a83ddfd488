// Grouping, Gray code and sync placement of JT9.
#include "modes/jt9-encoder.h"

#include <algorithm>

#include "modes/gray-code.h"

namespace jt9 {

std::vector<int> DataSymbols(const modes::Bits& interleaved) {
  modes::Bits bits = interleaved;
  bits.resize(3 * kDataSymbols, 0);
  std::vector<int> symbols;
  symbols.reserve(kDataSymbols);
  for (int i = 0; i < kDataSymbols; ++i)
    symbols.push_back(modes::GrayCode(int(modes::ReadBits(bits, 3 * std::size_t(i), 3))));
  return symbols;
}

std::vector<int> Tones(const std::vector<int>& data) {
  std::vector<int> tones;
  tones.reserve(kToneCount);
  std::size_t next = 0;
  for (int i = 0; i < kToneCount; ++i) {
    bool sync = std::find(kSyncPositions.begin(), kSyncPositions.end(), i) != kSyncPositions.end();
    tones.push_back(sync ? 0 : data[next++] + 1);
  }
  return tones;
}

}  // namespace jt9
