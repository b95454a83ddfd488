// JT9's grouping, Gray code and sync placement, as the encoder core does them.
#include "modes/jt9-encoder.h"

#include "modes/core/jt/qvj-jt9.h"
#include "modes/jt72-message.h"

namespace jt9 {

std::vector<int> DataSymbols(const modes::Bits& interleaved) {
  modes::Bits bits = interleaved;
  bits.resize(modes::kJt72CodedBits, 0);
  std::uint8_t packed[(modes::kJt72CodedBits + 7) / 8];
  modes::PackedBits(bits, packed);
  std::uint8_t symbols[QVJ_JT9_SYMBOLS];
  qvj_jt9_symbols(packed, symbols);
  return std::vector<int>(symbols, symbols + QVJ_JT9_SYMBOLS);
}

std::vector<int> Tones(const std::vector<int>& data) {
  std::uint8_t symbols[QVJ_JT9_SYMBOLS] = {};
  for (std::size_t i = 0; i < data.size() && i < QVJ_JT9_SYMBOLS; ++i)
    symbols[i] = std::uint8_t(data[i]);
  std::uint8_t tones[QVJ_JT9_TONES];
  qvj_jt9_tones(symbols, tones);
  return std::vector<int>(tones, tones + QVJ_JT9_TONES);
}

}  // namespace jt9
