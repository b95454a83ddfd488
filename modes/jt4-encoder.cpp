// JT4's sync vector, its inverted-sync rule and the tones.
#include "modes/jt4-encoder.h"

#include <string_view>

namespace jt4 {
namespace {

constexpr std::string_view kSync =
    "000110001101100101000000011000000000000101101101011111010001"
    "001001111100010100011110110010001101010101011111010101101010"
    "111001011011110000110110001110111011100100011011001000111111"
    "00110000110001011011110101";

}  // namespace

const modes::Bits& SyncVector() {
  static const modes::Bits sync = modes::BitsOfText(kSync);
  return sync;
}

bool InvertsSync(const std::string& message) {
  std::size_t dash = message.find('-');
  if (dash == std::string::npos || dash < 8 || dash + 1 >= message.size()) return false;
  char next = message[dash + 1];
  return next >= '0' && next <= '3';
}

std::vector<int> Tones(const modes::Bits& interleaved, bool invertSync) {
  const modes::Bits& sync = SyncVector();
  std::vector<int> tones;
  tones.reserve(sync.size());
  for (std::size_t i = 0; i < sync.size(); ++i)
    tones.push_back(2 * interleaved[i] + (sync[i] ^ (invertSync ? 1 : 0)));
  return tones;
}

}  // namespace jt4
