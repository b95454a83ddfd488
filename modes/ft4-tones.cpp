// FT4 scrambling, tone mapping and framing.
#include "modes/ft4-tones.h"

#include <array>
#include <string_view>

#include "modes/gray-code.h"

namespace ft {
namespace {

constexpr std::string_view kScrambling =
    "01001010010111101000100110110100101100001000101001111001010101011011111000101";
constexpr std::array<std::array<int, 4>, 4> kCostas = {
    {{0, 1, 3, 2}, {1, 0, 2, 3}, {2, 3, 1, 0}, {3, 2, 0, 1}}};
constexpr std::size_t kDataTones = 87, kBlockTones = 29;

}  // namespace

modes::Bits Ft4Scramble(const modes::Bits& bits77) {
  modes::Bits scrambled = bits77;
  for (std::size_t i = 0; i < scrambled.size() && i < kScrambling.size(); ++i)
    scrambled[i] ^= std::uint8_t(kScrambling[i] - '0');
  return scrambled;
}

FtTones Ft4Tones(const modes::Bits& codeword174) {
  FtTones tones;
  for (std::size_t k = 0; k < kDataTones; ++k)
    tones.data.push_back(modes::GrayCode(int(modes::ReadBits(codeword174, 2 * k, 2))));
  // The ramp slots at both ends carry no symbol: the transmitter rises to, and falls from, the
  // frequency of tone 0 there, so the sequence gives them tone 0 (and the reference prints 0).
  tones.all.push_back(0);
  for (std::size_t block = 0; block < 4; ++block) {
    tones.all.insert(tones.all.end(), kCostas[block].begin(), kCostas[block].end());
    if (block == 3) break;
    auto from = tones.data.begin() + long(block * kBlockTones);
    tones.all.insert(tones.all.end(), from, from + long(kBlockTones));
  }
  tones.all.push_back(0);
  return tones;
}

}  // namespace ft
